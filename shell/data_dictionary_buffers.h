#pragma once
// The current thread's record buffers of the global data files, kept in one
// per-thread slot. Program code reaches them through the prefixes of
// data_dictionary_prefixes.h (KAR.Title, SBK.Title ...).

#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"

namespace shell {

struct RecordBuffers {
    KaraokeRec KAR;
    DiscsRec DIS;
    DMakeRec BRA;
    MakeIdRec MAK;
    SArtistRec SAR;
    STitleRec STI;
    GenreRec GEN;
    SongBookRec SBK;
    SBDiscsRec SBD;
};

// Created cleared (texts blank, numbers zero) in each thread.
RecordBuffers& Buffers();

}  // namespace shell
