#pragma once
// Field names as the program writes them: a field PRE:Field is PRE.Field.
//   SBK.Title = "Danny Boy";           // the current thread's SongBook buffer
//   if (KAR.DiskTrackNo == 1) ...
//   GLO.COMPANYNAME                    // a shared global of the GLO group
// Each prefix is a macro for the current thread's record buffer of that file
// (or, for GLO, the shared group), so the same line of code works on the
// buffer of whichever program thread runs it.
//
// The prefixes are short upper-case macros: include this header last, after
// any library header, and only in program code (never in platform/).

#include "shell/data_dictionary_buffers.h"
#include "shell/data_dictionary_globals.h"

#define KAR (::shell::KaraokeBuffer())
#define DIS (::shell::DiscsBuffer())
#define BRA (::shell::DMakeBuffer())
#define MAK (::shell::MakeIdBuffer())
#define SAR (::shell::SArtistBuffer())
#define STI (::shell::STitleBuffer())
#define GEN (::shell::GenreBuffer())
#define SBK (::shell::SongBookBuffer())
#define SBD (::shell::SBDiscsBuffer())
#define GLO (::shell::Glo())
