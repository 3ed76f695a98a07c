// Whatever the CSV reader accepts, the writer writes and the reader reads back as the same rows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "csv/csv.h"
#include "error/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<project1::CsvRecord> records;
  try {
    project1::ReadCsvRecords(text, "fuzz", records);
  } catch (const project1::Error& e) {
    if (e.kind() != project1::ErrorKind::BadInput) std::abort();
    return 0;
  }
  std::string written;
  for (const project1::CsvRecord& record : records) {
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
      if (i > 0) written += ',';
      project1::AppendCsvField(written, record.fields[i]);
    }
    written += "\r\n";
  }
  std::vector<project1::CsvRecord> again;
  project1::ReadCsvRecords(written, "fuzz", again);  // an error here aborts the run
  if (again.size() != records.size()) std::abort();
  for (std::size_t r = 0; r < records.size(); ++r) {
    if (again[r].fields != records[r].fields) std::abort();
  }
  return 0;
}
