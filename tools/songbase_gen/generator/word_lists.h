#pragma once
// The words the generator builds invented titles, artists and brands from,
// and songs long in the public domain.

#include <span>
#include <string_view>

namespace songbase_gen::words {

struct BrandName {
    std::string_view name;  // BRA.MAKE and MAK.MAKEDESC
    std::string_view code;  // two characters, the start of the brand's disc IDs
    bool dashed;            // the printed disc number has a dash after the code
};

std::span<const BrandName> Brands();
std::span<const std::string_view> Genres();
std::span<const std::string_view> PublicDomainTitles();

std::span<const std::string_view> Adjectives();
std::span<const std::string_view> Nouns();       // each also takes a plural "s"
std::span<const std::string_view> Places();
std::span<const std::string_view> Verbs();       // "-ing" forms
std::span<const std::string_view> FirstNames();
std::span<const std::string_view> LastNames();

}  // namespace songbase_gen::words
