#pragma once
// Whole-file reading and writing for the core, the one way every output of
// the program reaches the disk (tests, HTML pages, text exports, the preview
// file), in the command-line tool and the editor alike.
//
// Writing never destroys the old file. The bytes go to a temporary file that
// is created exclusively, under an unpredictable name, in the target's own
// folder; it replaces the target only when everything was written and
// flushed. A symbolic link is written through: its target gets the new
// bytes, and the link stays; but a link that another user planted in a folder
// anyone may write to and only owners may delete from (like /tmp) is refused,
// as the kernel refuses to open it. A target that is not a regular file (a
// FIFO, a pipe, a terminal, a device, the program's own standard output) is
// written in place and never waits for a reader that is not there. An
// existing file keeps its permission bits, its group (and its owner where the
// user may keep it); a new one gets the bits the process's mask leaves, applied
// by the system (the mask is never changed). A file the user may not write is
// refused and stays as it was. A failure leaves the old file byte-identical
// and no temporary file behind.
#include "model/ChunkedOutput.h"
#include "testfile/LineSource.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace mirvane {

// The reason given for a file refused because it holds more than `limit`
// bytes below.
inline constexpr std::string_view kFileTooLarge = "файл слишком велик";

// What a file read whole must hold: any bytes, or text, which never holds a
// zero byte unless it is UTF-16 with its byte order mark (so that an endless
// stream of them, as /dev/zero gives, is refused at its first block rather
// than when memory runs out), nor a line longer than LineSource's longest
// (refused with kFileTooLarge, as an endless line is).
// TextOrArchive: a zip archive (a document to import), told by its first
// bytes, or else text.
enum class FileContent { Bytes, Text, TextOrArchive };

// How a zip archive (a .docx, an .odt) begins.
inline constexpr std::string_view kZipSignature{"PK\x03\x04", 4};

// Why a file could not be read: it could not be opened (missing, not the
// user's to read...), it is a folder, it is larger than allowed (or endless),
// it holds binary data where text was asked, or a read failed; and, for the
// loading of tests (TestFileLoading.h), a file read well that is no test.
enum class ReadRefusal { Unopened, Folder, TooLarge, NotText, Failed, NotATestFile };

// A failed reading told apart, for a caller that words it its own way.
struct ReadError {
    ReadRefusal Refusal = ReadRefusal::Failed;
    std::string Reason;  // the cause in the user's words
    std::string Message; // the file and the cause, as the reading reports them
};

// Reads the whole file into `out`, but no more than `limit` bytes: a larger
// file (or an endless one) is refused with kFileTooLarge. Returns an error
// text naming the file and the reason, or nothing on success; `failure`,
// when given, then gets the refusal and the reason apart.
std::optional<std::string> ReadFileBytes(const std::string& path, std::string& out,
                                         std::uintmax_t limit = UINTMAX_MAX, FileContent content = FileContent::Bytes,
                                         ReadError* failure = nullptr);

// Reads no more than the first `count` bytes of the file into `out` (all of
// a shorter file). Fails as ReadFileBytes does.
std::optional<std::string> ReadFileStart(const std::string& path, std::string& out, std::size_t count,
                                         ReadError* failure = nullptr);

// Reads the file in blocks through a line source handed to `use`, so that
// the file is never held whole. Fails as ReadFileBytes does.
std::optional<std::string> ReadFileLines(const std::string& path, const std::function<void(LineSource&)>& use,
                                         std::uintmax_t limit = UINTMAX_MAX, ReadError* failure = nullptr);

// Who may read a written file: as described above, or its owner alone
// whatever the file was before (copies of private work).
enum class FileAccess { Usual, OwnerOnly };

// Writes `bytes` to `path` as above. Returns an error text naming the file
// and the real cause, or nothing on success.
std::optional<std::string> WriteFileReplacing(const std::string& path, std::string_view bytes,
                                              FileAccess access = FileAccess::Usual);

// The same for bytes that `produce` hands to its sink in chunks, so that a
// large file is written without being held whole in memory. An exception from
// `produce` removes the temporary file and is passed on.
std::optional<std::string> WriteFileReplacing(const std::string& path,
                                              const std::function<void(const ChunkSink&)>& produce,
                                              FileAccess access = FileAccess::Usual);

// The cause of a failed file operation in the user's words: the common ones
// in Russian, the rare rest as the system words them.
std::string ErrorReason(int error);

// True when both paths name one existing file (the same device and inode),
// however each is spelt: through links, "..", or another relative path.
bool IsSameFile(const std::string& a, const std::string& b);

// The message for an export whose output would replace its own input.
std::string SameFileRefusal(const std::string& path);

// For a program that may be interrupted while it writes (the command-line
// tool): an interrupt, a hang-up or a termination removes the temporary file
// being written before the program ends. A file-size limit no longer kills
// the program: the write fails and is reported.
void RemoveTemporaryFilesOnInterrupt();

// A module loaded into the program (the PDF writer) carries its own copy of
// this code. Handed the program's cleanup state, it registers its temporary
// files where the program's interrupt handler finds them.
struct TemporaryCleanup;
TemporaryCleanup* ProgramTemporaryCleanup();
void ShareTemporaryCleanup(TemporaryCleanup* program);

} // namespace mirvane
