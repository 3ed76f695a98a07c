#pragma once
// `--oil NAME` among the catalogue and the user's own oils.

#include <string_view>

#include "oils/oil_directory.h"

namespace project1::cli {

// The oil `--oil NAME` means, found by the oil directory among the catalogue and the user's own
// oils (`what` names the option in its messages). When the catalogue's oil hides one of the
// user's, standard error says so once. Rows of the user's file that cannot be read are reported
// on standard error, once.
DirectoryOil OilOption(std::string_view what, std::string_view name);

}  // namespace project1::cli
