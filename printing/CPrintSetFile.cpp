#include "printing/CPrintSetFile.hpp"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "engine/CByteReader.hpp"
#include "engine/CByteWriter.hpp"
#include "platform/AppContext.hpp"
#include "platform/Cp932.hpp"
#include "printing/CSetPrintAdjastDialog.hpp"

namespace tokeiya {
namespace {

constexpr off_t kRecordsAt = 4;

// All `size` bytes at `at` through pread or pwrite; false when the file ended or failed.
template <typename Data, typename Io>
bool Whole(int fd, off_t at, Data* data, size_t size, Io io) {
    while (size > 0) {
        const ssize_t n = io(fd, data, size, at);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
        at += n;
    }
    return true;
}

bool ReadAll(int fd, off_t at, unsigned char* data, size_t size) {
    return Whole(fd, at, data, size, pread);
}

bool WriteAll(int fd, off_t at, const unsigned char* data, size_t size) {
    return Whole(fd, at, data, size, pwrite);
}

std::vector<unsigned char> CountBytes(int count) {
    CByteWriter out;
    out.Int32(count);
    return out.Take();
}

std::string SystemReason() {
    return cp932::FromUtf8Dropping(g_strerror(errno));
}

}  // namespace

CPrintSetFile::CPrintSetFile(std::string path, std::string formerPath)
    : m_path(path.empty() ? CAppContext::Current().printSettingsFile : std::move(path)),
      m_formerPath(formerPath.empty() ? CAppContext::Current().formerPrintSettingsFile
                                      : std::move(formerPath)) {}

CPrintSetFile::~CPrintSetFile() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}

PaperOrientation CPrintSetFile::DefaultOrientation(const std::string& name) {
    return name == kSalary ? PaperOrientation::Landscape : PaperOrientation::Portrait;
}

bool CPrintSetFile::Open() {
    if (m_fd >= 0) {
        return true;
    }
    if (m_path.empty()) {
        m_openError = "no print settings file";
        return false;
    }
    gchar* folder = g_path_get_dirname(m_path.c_str());
    g_mkdir_with_parents(folder, 0700);
    g_free(folder);
    // Settings an earlier version kept in the start folder come along once.
    if (!m_formerPath.empty() && m_formerPath != m_path &&
        !g_file_test(m_path.c_str(), G_FILE_TEST_EXISTS) &&
        g_file_test(m_formerPath.c_str(), G_FILE_TEST_IS_REGULAR)) {
        gchar* data = nullptr;
        gsize size = 0;
        if (g_file_get_contents(m_formerPath.c_str(), &data, &size, nullptr)) {
            g_file_set_contents_full(m_path.c_str(), data, static_cast<gssize>(size),
                                     G_FILE_SET_CONTENTS_CONSISTENT, 0600, nullptr);
            g_free(data);
        }
    }
    m_fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        m_openError = SystemReason();
        return false;
    }
    std::array<unsigned char, 4> count{};
    if (ReadAll(m_fd, 0, count.data(), count.size())) {
        CByteReader(count).Int32(m_count);
    } else {
        // A new (or empty) file starts with its count; a file that cannot take it fails
        // at the first store, which tells why.
        m_count = 0;
        const auto zero = CountBytes(0);
        static_cast<void>(WriteAll(m_fd, 0, zero.data(), zero.size()));
    }
    return true;
}

int CPrintSetFile::WholeRecords() {
    struct stat status {};
    if (m_fd < 0 || fstat(m_fd, &status) != 0 || status.st_size < kRecordsAt) {
        return 0;
    }
    const auto inFile =
        static_cast<std::int64_t>((status.st_size - kRecordsAt) / CPrintSetRecord::kSize);
    return static_cast<int>(std::max<std::int64_t>(0, std::min<std::int64_t>(m_count, inFile)));
}

int CPrintSetFile::Count() {
    return Open() ? WholeRecords() : 0;
}

bool CPrintSetFile::Find(const std::string& name, CPrintSetRecord& record) {
    if (Open()) {
        const int records = WholeRecords();
        std::array<unsigned char, CPrintSetRecord::kSize> bytes{};
        for (int i = 0; i < records; ++i) {
            const off_t at = kRecordsAt + static_cast<off_t>(i) * CPrintSetRecord::kSize;
            if (!ReadAll(m_fd, at, bytes.data(), bytes.size())) {
                break;
            }
            CPrintSetRecord read = CPrintSetRecord::FromBytes(bytes);
            if (read.name == name) {
                // The slot is where it was found, whatever a damaged record says.
                read.slot = i;
                record = std::move(read);
                return true;
            }
        }
    }
    record = CPrintSetRecord{};
    return false;
}

bool CPrintSetFile::Store(CPrintSetRecord& record, std::string& reason) {
    if (!Open()) {
        reason = m_openError;
        return false;
    }
    const int records = WholeRecords();
    const bool added = record.slot < 0 || record.slot >= records;
    const int slot = added ? records : record.slot;
    const int count = added ? records + 1 : records;
    CPrintSetRecord written = record;
    written.slot = slot;
    const auto bytes = written.ToBytes();
    const auto countBytes = CountBytes(count);
    if (!WriteAll(m_fd, kRecordsAt + static_cast<off_t>(slot) * CPrintSetRecord::kSize,
                  bytes.data(), bytes.size()) ||
        !WriteAll(m_fd, 0, countBytes.data(), countBytes.size()) || fsync(m_fd) != 0) {
        reason = SystemReason();
        return false;
    }
    m_count = count;
    record.slot = slot;
    return true;
}

bool CPrintSetFile::SetupPrinter(IDialogs& dialogs, const std::string& name, bool withAdjust) {
    CPrintSetRecord record;
    if (!Find(name, record)) {
        record.SetName(name);
    }
    bool confirmed = false;
    if (IPrinting* printing = dialogs.Printing()) {
        PrinterSetup setup = record.Printer();
        confirmed = printing->SetupPrinter("プリンタ設定 " + name, DefaultOrientation(name), setup);
        if (confirmed) {
            record.SetPrinter(setup);
        }
    } else {
        dialogs.MessageBox(kPrinterError, MessageButtons::Ok);
    }
    if (withAdjust) {
        CSetPrintAdjastDialog adjust;
        adjust.m_adjustX = record.adjustX;
        adjust.m_adjustY = record.adjustY;
        adjust.m_paperCheck = record.paperCheck;
        confirmed = adjust.DoModal(dialogs);
        if (confirmed) {
            record.adjustX = adjust.m_adjustX;
            record.adjustY = adjust.m_adjustY;
            record.paperCheck = adjust.m_paperCheck;
        }
    }
    if (!confirmed) {
        return false;
    }
    std::string reason;
    if (!Store(record, reason)) {
        dialogs.MessageBox("プリンタ設定を保存できませんでした。\n" + reason, MessageButtons::Ok);
        return false;
    }
    return true;
}

bool CPrintSetFile::PreparePrinter(IDialogs& dialogs, const std::string& name, CPrintDC& printDC,
                                   const std::string& paperName, std::string& reason) {
    CPrintSetRecord record;
    if (!Find(name, record)) {
        return false;
    }
    if (record.paperCheck) {
        dialogs.MessageBox("プリンタに用紙(" + (paperName.empty() ? record.name : paperName) +
                               ")をセットしてください。",
                           MessageButtons::Ok);
    }
    IPrinting* printing = dialogs.Printing();
    if (printing == nullptr || !printDC.CreateFromNames(*printing, record.Printer(), reason)) {
        return false;
    }
    printDC.SetOffsets(record.adjustX, record.adjustY);
    return true;
}

}  // namespace tokeiya
