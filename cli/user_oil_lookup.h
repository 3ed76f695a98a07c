#pragma once
// `--oil NAME` among the user's own oils.

#include <optional>
#include <string_view>

#include "user_oils/user_oils.h"

namespace project1::cli {

// The user's oil named `name`, when the catalogue holds no oil of that name (judged as the user's
// names are, without regard to case and surrounding blanks). When both do, the catalogue's is
// used and standard error says so once. Rows of the user's file that cannot be
// read are reported on standard error, once.
std::optional<UserOil> UsersOilNamed(std::string_view name);

}  // namespace project1::cli
