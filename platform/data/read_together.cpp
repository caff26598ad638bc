#include "platform/data/read_together.h"

#include "platform/data/database.h"
#include "platform/data/file_instance.h"

#include <sqlite3.h>

namespace fw {

ReadTogether::ReadTogether(const std::vector<File*>& files) {
    for (File* f : files) {
        FileInstance& inst = f->Instance();
        if (!inst.open || !inst.db) continue;
        const std::shared_ptr<data::Database>& db = inst.db;
        bool seen = false;
        for (const auto& h : held_) seen = seen || h == db;
        if (seen || db->Routed() || db->streamers > 0 || db->inTransaction) continue;
        if (sqlite3_get_autocommit(db->Own().Handle()) == 0) continue;
        if (db->Own().Exec("BEGIN") == SQLITE_OK) held_.push_back(db);
    }
}

ReadTogether::~ReadTogether() {
    for (const auto& db : held_)
        if (sqlite3_get_autocommit(db->Own().Handle()) == 0) db->Own().Exec("COMMIT");
}

}  // namespace fw
