#pragma once

#include <string>

#include "platform/Dialogs.hpp"
#include "platform/gdi/IPrinting.hpp"
#include "printing/CPrintDC.hpp"
#include "printing/CPrintSetRecord.hpp"

namespace tokeiya {

// The print settings file: a count (int32) and then the named settings, one 2636-byte
// record each, every one in the slot it was first stored in. The file is opened on first
// use and created (mode 600) holding a count of 0 when missing. A damaged file is read as
// far as it is whole: a count beyond the records there, or a short last record, never
// makes a read go past the end.
class CPrintSetFile {
  public:
    // The setting names the program prints with.
    static constexpr const char* kSalary = "給料集計";
    static constexpr const char* kCard = "カード";
    // Told when no printer can be had.
    static constexpr const char* kPrinterError = "プリンタ初期化エラー";

    // `path` (the file system's name) empty: the program's settings file. A file missing
    // there is first taken over from `formerPath` (the program's former place, the start
    // folder, when empty) if one is there.
    explicit CPrintSetFile(std::string path = {}, std::string formerPath = {});
    ~CPrintSetFile();
    CPrintSetFile(const CPrintSetFile&) = delete;
    CPrintSetFile& operator=(const CPrintSetFile&) = delete;

    // The first setting named exactly `name`; otherwise `record` becomes a new record and
    // the answer is false.
    bool Find(const std::string& name, CPrintSetRecord& record);
    // Writes the record in its slot, giving a new record the next one; false with the
    // reason (CP932) when the file could not be written.
    [[nodiscard]] bool Store(CPrintSetRecord& record, std::string& reason);
    int Count();

    // The desktop's printer and paper dialog for the setting `name`, then with `withAdjust`
    // the adjustment dialog; the setting is stored when the last dialog shown was confirmed.
    // A store that failed is told. True when the setting was stored.
    bool SetupPrinter(IDialogs& dialogs, const std::string& name, bool withAdjust);
    // The printer of the stored setting `name` on `printDC`, with its adjustment, after
    // asking for paper when the setting says so (naming `paperName`, or the setting when
    // empty). False when the setting was never stored or the printer is not there, with
    // the desktop's reason where it gives one.
    bool PreparePrinter(IDialogs& dialogs, const std::string& name, CPrintDC& printDC,
                        const std::string& paperName, std::string& reason);

    // Salary summaries are set up on landscape paper, time cards on portrait.
    static PaperOrientation DefaultOrientation(const std::string& name);

  private:
    bool Open();
    // The records that are whole in the file, at most as many as its count says.
    int WholeRecords();

    std::string m_path;
    std::string m_formerPath;
    int m_fd = -1;
    int m_count = 0;
    std::string m_openError;
};

}  // namespace tokeiya
