#pragma once
// The data dictionary: every data file with its record, keys, name and use
// counter, the global queues' records, the per-thread calling state and the
// shared globals. The PRE.Field prefixes are in data_dictionary_prefixes.h.

#include "shell/data_dictionary_buffers.h"
#include "shell/data_dictionary_file_entry.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_queues.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
