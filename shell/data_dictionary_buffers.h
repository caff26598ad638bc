#pragma once
// The current thread's record buffers of the global data files, kept in one
// per-thread slot. Program code reaches them through the prefixes of
// data_dictionary_prefixes.h (KAR.Title, SBK.Title ...).

#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"

namespace shell {

struct RecordBuffers {
    KaraokeRec karaoke;
    DiscsRec discs;
    DMakeRec dmake;
    MakeIdRec makeId;
    SArtistRec sArtist;
    STitleRec sTitle;
    GenreRec genre;
    SongBookRec songBook;
    SBDiscsRec sbDiscs;
};

// Created cleared (texts blank, numbers zero) in each thread.
RecordBuffers& Buffers();

}  // namespace shell
