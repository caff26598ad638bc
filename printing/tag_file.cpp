#include "printing/tag_file.h"

#include <algorithm>

#include "platform/data/file_ops.h"
#include "platform/text/codepage.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary_files.h"
#include "shell/data_dictionary_thread_state.h"

namespace printing {
namespace {

fw::FString<128> TagFileNameVariable{kTagFileName};

TagFileRec& TAG() { return TagFile().Rec<TagFileRec>(); }

std::string Failure(const char* what) {
    return std::string(what) + " " + kTagFileName + ": " + fw::ERROR() + " (" + std::to_string(fw::ERRORCODE()) + ")";
}

// Closes the file on every way out.
struct Closing {
    ~Closing() { fw::CLOSE(TagFile()); }
};

}  // namespace

const fw::RecordDecl& TagFileRec::Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<TagFileRec>("TAG")
                                        .Field("UNQDISKID", &TagFileRec::UNQDISKID)
                                        .Field("ALTDISKID", &TagFileRec::ALTDISKID)
                                        .Build();
    return d;
}

const shell::FileEntry& TagFilePlan() {
    static const shell::FileEntry f{"TagFile", &TagFileRec::Decl(), "", "", &TagFileNameVariable, true, false, true,
                                   30, &shell::CallingState::TagFileOpenCount,
                                   {{"KUNQDISKID", {"UNQDISKID"}}, {"KALTDISKID", {"ALTDISKID"}}}};
    return f;
}

fw::File& TagFile() { return shell::DataFile(TagFilePlan()); }

bool WriteTagFile(const std::vector<LabelTag>& tags, std::string& error) {
    fw::File& file = TagFile();
    fw::CLOSE(file);
    fw::OPEN(file, fw::ReadWrite | fw::DenyNone);
    if (fw::ERRORCODE() == fw::NoFileErr) {
        fw::CREATE(file);
        if (fw::ERRORCODE() != 0) {
            error = Failure("Unable to create");
            return false;
        }
        fw::OPEN(file, fw::ReadWrite | fw::DenyNone);
    }
    if (fw::ERRORCODE() != 0) {
        error = Failure("Unable to open");
        return false;
    }
    Closing closing;
    fw::STREAM(file);
    for (;;) {
        fw::SET(file);
        fw::NEXT(file);
        if (fw::ERRORCODE() == fw::RecordNotAvailable) break;
        if (fw::ERRORCODE() == 0) fw::DELETE(file);
        if (fw::ERRORCODE() != 0) {
            error = Failure("Unable to empty");
            return false;
        }
    }
    for (const LabelTag& tag : tags) {
        TAG().UNQDISKID = tag.unq;
        TAG().ALTDISKID = tag.alt;
        fw::ADD(file);
        if (fw::ERRORCODE() != 0) {
            error = Failure("Unable to write");
            return false;
        }
    }
    fw::FLUSH(file);
    if (fw::ERRORCODE() != 0) {
        error = Failure("Unable to write");
        return false;
    }
    return true;
}

bool ReadTagFile(std::vector<LabelTag>& tags, std::string& error) {
    tags.clear();
    fw::File& file = TagFile();
    fw::CLOSE(file);
    fw::OPEN(file, fw::ReadOnly | fw::DenyNone);
    if (fw::ERRORCODE() == fw::NoFileErr) return true;
    if (fw::ERRORCODE() != 0) {
        error = Failure("Unable to open");
        return false;
    }
    Closing closing;
    // Record order, then sorted: the optional key would pass over a blank custom ID.
    fw::SET(file);
    for (fw::NEXT(file); fw::ERRORCODE() == 0; fw::NEXT(file))
        tags.push_back({TAG().UNQDISKID.Str(), TAG().ALTDISKID.Str()});
    if (fw::ERRORCODE() != fw::RecordNotAvailable) {
        error = Failure("Unable to read");
        return false;
    }
    std::stable_sort(tags.begin(), tags.end(),
                     [](const LabelTag& a, const LabelTag& b) { return fw::CompareFolded(a.alt, b.alt) < 0; });
    return true;
}

}  // namespace printing
