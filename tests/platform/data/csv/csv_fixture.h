#pragma once
// The record layout the comma-delimited tests read and write: two texts, two
// numbers and a one-letter text, as the exchange files have them.

#include "platform/data/record.h"
#include "platform/text/fixed_string.h"

#include <cstdint>

namespace csv_fixture {

struct Bas {
    fw::FString<20> TITLE;
    fw::FString<10> ARTIST;
    std::uint32_t TRACK = 0;
    std::int32_t MAKEID = 0;
    fw::FString<1> DUET;
};

inline const fw::RecordDecl& BasDecl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<Bas>("BAS")
                                        .Field("TITLE", &Bas::TITLE)
                                        .Field("ARTIST", &Bas::ARTIST)
                                        .Field("TRACK", &Bas::TRACK)
                                        .Field("MAKEID", &Bas::MAKEID)
                                        .Field("DUET", &Bas::DUET)
                                        .Build();
    return d;
}

}  // namespace csv_fixture
