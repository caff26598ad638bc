#include "tools/songbase_gen/generator/data_file_sink.h"

#include "shell/data_dictionary_files.h"

#include "platform/data/file_ops.h"
#include "platform/data/names/path_names.h"
#include "platform/runtime/error_state.h"

namespace songbase_gen {

DataFileSongBase::DataFileSongBase(std::string folder) : folder_(std::move(folder)) {
    while (!folder_.empty() && fw::IsPathSeparator(folder_.back())) folder_.pop_back();
}

DataFileSongBase::~DataFileSongBase() {
    for (auto& [desc, file] : files_) fw::CLOSE(*file);
}

void DataFileSongBase::NoteError(fw::File& file) {
    if (!error_.empty() || fw::ERRORCODE() == 0) return;
    error_ = fw::NAME(file) + ": " + fw::ERROR();
    if (fw::ERRORCODE() == fw::FileSystemErr) error_ += " (" + fw::FILEERROR() + ")";
}

fw::File* DataFileSongBase::Opened(const shell::FileEntry& desc) {
    std::unique_ptr<fw::File>& file = files_[&desc];
    if (file) return file.get();
    fw::FileDecl decl = shell::FileDeclOf(desc);
    decl.name = fw::FixedName(folder_ + std::string(1, fw::kPathSeparator) + desc.fixedName);
    file = std::make_unique<fw::File>(std::move(decl));
    fw::CREATE(*file);
    NoteError(*file);
    if (error_.empty()) {
        fw::OPEN(*file, fw::ReadWrite | fw::DenyAll);
        NoteError(*file);
    }
    if (error_.empty()) fw::STREAM(*file);
    return file.get();
}

void DataFileSongBase::Write(const shell::FileEntry& desc, const void* rec) {
    if (!error_.empty()) return;
    fw::File* file = Opened(desc);
    if (!error_.empty()) return;
    fw::CopyRecord(file->Buffer(), rec, file->Record());
    fw::ADD(*file);
    NoteError(*file);
}

std::string DataFileSongBase::Finish() {
    for (const shell::FileEntry* desc : shell::DataFiles())
        if (!desc->fixedName.empty() && error_.empty()) Opened(*desc);
    for (auto& [desc, file] : files_) {
        if (!fw::IsOpen(*file)) continue;
        fw::FLUSH(*file);
        NoteError(*file);
        fw::CLOSE(*file);
        NoteError(*file);
    }
    return error_;
}

}  // namespace songbase_gen
