#pragma once
// FORMAT and DEFORMAT with the framework's pictures (@N, @P, @S, @D, @T ...).

#include <string>
#include <string_view>

namespace fw {

// A number or date/time value shown through a picture ("@N3", "@D1", "@T4").
std::string FORMAT(double value, std::string_view picture);
// A text shown through a picture ("@s40", "@P<<<<<<PB").
std::string FORMAT(std::string_view value, std::string_view picture);
// The value behind a text shown through a picture; a number's plain decimal text.
std::string DEFORMAT(std::string_view text, std::string_view picture);
// DEFORMAT without a picture: the digits of the text ("CB101-1" gives "1011").
std::string DEFORMAT(std::string_view text);

}  // namespace fw
