#include "filesaving.h"

#include "log.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <initializer_list>

using namespace Qt::StringLiterals;

namespace {

enum class Cause { DiskFull, IsFolder, FolderMissing, Locked, NoPermission, Other };

// The system's codes for each cause. Qt words a file's error from its code,
// so the words tell the code even where errno has since changed.
#ifdef Q_OS_WIN
constexpr int kFileNotFound = 2; // ERROR_FILE_NOT_FOUND
constexpr int kPathNotFound = 3; // ERROR_PATH_NOT_FOUND
constexpr int kAccessDenied = 5; // ERROR_ACCESS_DENIED
constexpr int kWriteProtect = 19; // ERROR_WRITE_PROTECT
constexpr int kSharingViolation = 32; // ERROR_SHARING_VIOLATION
constexpr int kLockViolation = 33; // ERROR_LOCK_VIOLATION
constexpr int kHandleDiskFull = 39; // ERROR_HANDLE_DISK_FULL
constexpr int kDiskFull = 112; // ERROR_DISK_FULL
const std::initializer_list<int> kDiskFullCodes {kDiskFull, kHandleDiskFull};
const std::initializer_list<int> kMissingCodes {kFileNotFound, kPathNotFound};
const std::initializer_list<int> kLockedCodes {kSharingViolation, kLockViolation};
const std::initializer_list<int> kPermissionCodes {kAccessDenied, kWriteProtect};
#else
const std::initializer_list<int> kDiskFullCodes {ENOSPC, EDQUOT};
const std::initializer_list<int> kMissingCodes {ENOENT, ENOTDIR};
const std::initializer_list<int> kLockedCodes {};
const std::initializer_list<int> kPermissionCodes {EACCES, EPERM, EROFS};
#endif

bool says(const QString &systemCause, std::initializer_list<int> codes)
{
    return std::any_of(codes.begin(), codes.end(), [&systemCause](int code) {
        const QString words = qt_error_string(code);
        return !words.isEmpty() && systemCause.contains(words);
    });
}

Cause causeOf(const QString &path, QFileDevice::FileError error, const QString &systemCause)
{
    const QFileInfo file(path);
    if (says(systemCause, kDiskFullCodes))
        return Cause::DiskFull;
    if (file.isDir())
        return Cause::IsFolder;
    if (!file.absoluteDir().exists() || says(systemCause, kMissingCodes))
        return Cause::FolderMissing;
    // The file beside it was written, so the folder takes files: the old one
    // would not be replaced, most often as a program holds it open.
    if ((error == QFileDevice::RenameError && file.exists()) || says(systemCause, kLockedCodes))
        return Cause::Locked;
    if (says(systemCause, kPermissionCodes) || (file.exists() && !file.isWritable()))
        return Cause::NoPermission;
    return Cause::Other;
}

QString advice(Cause cause)
{
    switch (cause) {
    case Cause::DiskFull:
        return u"ดิสก์หรือแฟลชไดรฟ์ที่เลือกมีที่ว่างไม่พอ "
               u"โปรดลบไฟล์ที่ไม่ใช้แล้วออกบ้าง หรือเลือกบันทึกที่อื่น แล้วบันทึกอีกครั้ง"_s;
    case Cause::IsFolder:
        return u"ชื่อนี้เป็นชื่อของโฟลเดอร์ที่มีอยู่แล้ว โปรดตั้งชื่อไฟล์ใหม่ แล้วบันทึกอีกครั้ง"_s;
    case Cause::FolderMissing:
        return u"ไม่พบโฟลเดอร์ที่เลือก โฟลเดอร์นั้นอาจถูกลบหรือย้ายไปแล้ว หรือแฟลชไดรฟ์ถูกถอดออก "
               u"โปรดเลือกโฟลเดอร์อีกครั้ง แล้วบันทึกใหม่"_s;
    case Cause::Locked:
        return u"ไฟล์ชื่อนี้อาจเปิดค้างอยู่ในโปรแกรมอื่น เช่น Excel "
               u"โปรดปิดไฟล์นั้นก่อน หรือตั้งชื่อไฟล์ใหม่ แล้วบันทึกอีกครั้ง"_s;
    case Cause::NoPermission:
        return u"โฟลเดอร์หรือไฟล์นี้ไม่อนุญาตให้บันทึก หรือดิสก์นั้นบันทึกไม่ได้ เช่น แผ่นซีดี "
               u"หรือแฟลชไดรฟ์ที่เปิดสวิตช์กันเขียนไว้ โปรดเลือกโฟลเดอร์อื่น เช่น Documents แล้วบันทึกอีกครั้ง"_s;
    case Cause::Other:
        break;
    }
    return u"โปรดลองบันทึกอีกครั้ง หรือเลือกโฟลเดอร์อื่น"_s;
}

} // namespace

QString cannotSave(const QString &path, QFileDevice::FileError error, const QString &systemCause)
{
    QString text = u"บันทึกไฟล์ \"%1\" ไม่ได้\n\n"_s.arg(QDir::toNativeSeparators(path))
        + advice(causeOf(path, error, systemCause)) + u"\n\nรายชื่อนักเรียนในหน้าต่างยังอยู่ครบ"_s;
    if (!systemCause.isEmpty())
        text += u"\n\nสาเหตุที่ระบบแจ้ง:\n"_s + systemCause;
    return text;
}

std::optional<QString> saveWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    const auto failed = [&file, &path] {
        const QFileDevice::FileError error = file.error();
        const QString systemCause = file.errorString();
        qCWarning(lcKvt) << "Cannot save" << path << error << systemCause;
        return cannotSave(path, error, systemCause);
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed();
    // The results are about children: nobody else on the PC is to read them.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        qCWarning(lcKvt) << "Cannot make" << path << "its owner's only:" << file.errorString();
        // A disk without permissions (FAT) still takes the file; the error
        // left set would fail the writing.
        file.unsetError();
    }
    // A write cut short says why only when the rest is written.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return failed();
        done += written;
    }
    if (!file.commit())
        return failed();
    return std::nullopt;
}
