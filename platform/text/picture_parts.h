#pragma once
// The picture kinds behind FORMAT and DEFORMAT (picture.cpp dispatches).

#include <string>
#include <string_view>

namespace fw::picture {

// The picture's letter upper-cased ('N', 'P', 'S', 'D', 'T'), or 0 when the
// text is not a picture.
char Kind(std::string_view picture);

std::string FormatNumber(double value, std::string_view picture);
double DeformatNumber(std::string_view text, std::string_view picture);

// A number typed for an @N picture, read strictly (see ReadPictureNumber).
bool ReadNumber(std::string_view text, std::string_view picture, double& value);
// The widest values an @N picture shows whole.
void NumberLimits(std::string_view picture, double& low, double& high);
bool ReadPatternNumber(std::string_view text, std::string_view picture, double& value);
void PatternLimits(std::string_view picture, double& low, double& high);

std::string FormatPattern(double value, std::string_view picture);
double DeformatPattern(std::string_view text, std::string_view picture);

std::string FormatDate(long date, std::string_view picture);
long DeformatDate(std::string_view text, std::string_view picture);

std::string FormatTime(long time, std::string_view picture);
long DeformatTime(std::string_view text, std::string_view picture);

}  // namespace fw::picture
