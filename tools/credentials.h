#pragma once
// The form in which user names and passwords travel in the CName and CallID
// headers: standard Base64 with every '=' replaced by '!'.
#include <string>
#include <string_view>

namespace standin {

std::string EncodeCredential(std::string_view text);

}  // namespace standin
