#pragma once
// The framework's string functions on Windows-1252 text. Positions count
// from 1, as in the program. A text passed as an FString keeps its declared
// length (LEN of an FString is its size; LEN(CLIP(s)) its used length).

#include <cstddef>
#include <string>
#include <string_view>

namespace fw {

// The text without trailing blanks.
std::string CLIP(std::string_view s);
// The text with its leading blanks moved to the end: same length, left-justified.
std::string LEFT(std::string_view s);
// LEFT, then blank-padded or cut to n characters.
std::string LEFT(std::string_view s, std::size_t n);
// The characters start..start+length-1; positions outside the text are dropped.
std::string SUB(std::string_view s, long start, long length);
// The length of the text as given (an FString's declared length).
std::size_t LEN(std::string_view s);

// Windows-1252 upper and lower case, accented letters included (the same
// folding as keys and filters).
std::string UPPER(std::string_view s);
std::string LOWER(std::string_view s);

// Searches for sub in s at positions start, start+step, start+2*step ...
// while sub still fits in s. Returns the number of the step that matched,
// counted from position 1 ((position-1)/step + 1; the position itself for
// step 1), or 0 when sub is not found or is empty. A step below 1 counts as 1;
// a start below 1 as 1.
long INSTRING(std::string_view sub, std::string_view s, long step = 1, long start = 1);

// The text with leading and trailing blanks removed, centred in width
// characters; when the blanks to add are odd, the extra one goes in front.
// A longer text is cut to width.
std::string CENTER(std::string_view s, std::size_t width);

// s repeated to exactly n characters ("_" and 255 gives 255 underscores).
// An empty s gives n blanks.
std::string ALL(std::string_view s, std::size_t n);

// Character classes of the framework on Windows-1252 bytes. Letters include
// the accented ones; ß, ƒ, ª, µ and º are lower-case letters without an
// upper-case form.
bool ISUPPER(unsigned char c);
bool ISLOWER(unsigned char c);
bool ISALPHA(unsigned char c);
bool ISDIGIT(unsigned char c);
// The thirty symbols of the text scroll steps: the blank, " @ ` and
// ! # $ % & ' ( ) * + , - . / : ; = ? [ \ ] ^ _ | ~ £ (no angle brackets, no braces).
bool IsThumbSymbol(unsigned char c);

}  // namespace fw
