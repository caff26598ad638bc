#include "shell/data_layer.h"

#include "shell/data_dictionary_files.h"
#include "shell/saved_error.h"

#include "platform/data/file_ops.h"
#include "platform/data/transaction.h"

namespace shell {
namespace {

class DataLayerDriver final : public CheckedFileDriver {
public:
    void Open(const FileEntry& file) override { fw::OPEN(DataFile(file), fw::ReadWrite | fw::DenyNone); }
    void Recover(const FileEntry& file) override { fw::SEND(DataFile(file), "Recover=10"); }
    void Create(const FileEntry& file) override { fw::CREATE(DataFile(file)); }
    void Build(const FileEntry& file) override { fw::BUILD(DataFile(file)); }
    void Close(const FileEntry& file) override { fw::CLOSE(DataFile(file)); }
};

}  // namespace

CheckedFileDriver& DataLayerFileDriver() {
    static DataLayerDriver driver;
    return driver;
}

void ConnectDataLayer() {
    SetCheckedFileDriver(&DataLayerFileDriver());
    SetRollbackHandler([] { fw::ROLLBACK(); });
}

void DisconnectDataLayer() {
    SetCheckedFileDriver(nullptr);
    SetRollbackHandler(nullptr);
}

}  // namespace shell
