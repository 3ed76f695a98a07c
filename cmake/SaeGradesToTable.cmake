# Turns the SAE viscosity grade table (data/sae-viscosity-grades.csv) into C++ rows.
#   cmake -DINPUT=<csv> -DOUTPUT=<inc> -P SaeGradesToTable.cmake
# The file holds "#" comment lines, the header "standard,grade,min_cst,max_cst" and then one row
# per grade: the standard ("SAE J300" or "SAE J306"), the grade, and its limits at 100 C as plain
# decimal numbers, max_cst above min_cst or empty for no upper limit. Anything else stops the
# build.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/WriteGenerated.cmake)

if(NOT DEFINED INPUT OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "SaeGradesToTable.cmake needs -DINPUT=<csv> -DOUTPUT=<inc>")
endif()

file(STRINGS "${INPUT}" lines ENCODING UTF-8)
set(number "(0|[1-9][0-9]*)(\\.[0-9]+)?")
set(header_seen FALSE)
set(rows "")
set(count 0)
set(line_number 0)
foreach(line IN LISTS lines)
  math(EXPR line_number "${line_number} + 1")
  string(REGEX REPLACE "\r$" "" line "${line}")
  if(line MATCHES "^#")
    continue()
  endif()
  if(NOT header_seen)
    if(NOT line STREQUAL "standard,grade,min_cst,max_cst")
      message(FATAL_ERROR
              "${INPUT}:${line_number}: expected the header \"standard,grade,min_cst,max_cst\", found \"${line}\"")
    endif()
    set(header_seen TRUE)
    continue()
  endif()
  if(NOT line MATCHES "^(SAE J300|SAE J306),([1-9][0-9]*),(${number}),(${number})?$")
    message(FATAL_ERROR "${INPUT}:${line_number}: not a row of standard, grade, min_cst and max_cst: \"${line}\"")
  endif()
  string(REGEX MATCH "^([^,]*),([^,]*),([^,]*),(.*)$" fields "${line}")
  set(standard "${CMAKE_MATCH_1}")
  set(grade "${CMAKE_MATCH_2}")
  set(low "${CMAKE_MATCH_3}")
  set(high "${CMAKE_MATCH_4}")
  if(high STREQUAL "")
    set(high "kNoUpperLimit")
  elseif(NOT high GREATER low)
    message(FATAL_ERROR "${INPUT}:${line_number}: max_cst ${high} is not above min_cst ${low}")
  endif()
  string(APPEND rows "    {\"${standard}\", \"${grade}\", ${low}, ${high}},\n")
  math(EXPR count "${count} + 1")
endforeach()

if(NOT header_seen OR count EQUAL 0)
  message(FATAL_ERROR "${INPUT}: no header or no rows")
endif()

write_generated("${OUTPUT}" "${INPUT}" "${count} rows {standard, grade, min cSt, max cSt} at 100 °C." "${rows}")
