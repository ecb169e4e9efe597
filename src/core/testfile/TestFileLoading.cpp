#include "testfile/TestFileLoading.h"

#include "model/Test.h"
#include "testfile/TestFileReader.h"

#include <new>

namespace mirvane {

namespace {

// Reads the file whole as text, converted to code page 866 from `encoding`,
// or from the one guessed when there is none.
std::optional<ReadError> LoadHeld(const std::string& path, const TestFileLoading& how,
                                  std::optional<TextEncoding> encoding, TestFileReader& reader, bool& isTestFile)
{
    std::string bytes;
    ReadError failure;
    if (ReadFileBytes(path, bytes, how.HeldLimit, FileContent::Text, &failure))
        return failure;
    const TextEncoding from = encoding ? *encoding : GuessEncoding(bytes);
    if (from != TextEncoding::Cp866)
        bytes = ToCp866(bytes, from);
    isTestFile = reader.LoadFile(bytes);
    return std::nullopt;
}

std::optional<ReadError> LoadStreamed(const std::string& path, const TestFileLoading& how, TestFileReader& reader,
                                      bool& isTestFile)
{
    ReadError failure;
    if (ReadFileLines(path, [&](LineSource& source) { isTestFile = reader.LoadFile(source); }, how.StreamedLimit,
                      &failure))
        return failure;
    return std::nullopt;
}

std::optional<ReadError> Load(const std::string& path, const TestFileLoading& how, TestFileReader& reader,
                              bool& isTestFile)
{
    const std::optional<TextEncoding>& encoding = how.Encoding.Encoding;
    if (encoding == TextEncoding::Cp866)
        return LoadStreamed(path, how, reader, isTestFile);
    if (encoding || !how.Encoding.Confirm)
        return LoadHeld(path, how, encoding, reader, isTestFile);
    std::string sample;
    ReadError failure;
    if (ReadFileStart(path, sample, kEncodingSample, &failure))
        return failure;
    const TextEncoding guess = GuessEncoding(sample);
    sample = std::string();
    if (guess != TextEncoding::Cp866 && how.Encoding.Confirm(guess))
        return LoadHeld(path, how, guess, reader, isTestFile);
    return LoadStreamed(path, how, reader, isTestFile);
}

} // namespace

LoadedTestFile LoadTestFile(const std::string& path, const TestFileLoading& how)
{
    LoadedTestFile loaded;
    loaded.Read = std::make_unique<Test>();
    // The reader reports a file that is not a test file as its first and
    // only message; here that is the error, not a message about a line.
    TestFileReader reader(*loaded.Read, [&](const ReaderMessage& m) {
        if (how.Messages && !(m.Line == 0 && m.Text == reader_text::kNotATestFile))
            how.Messages(m);
    });
    reader.RecordLinesIn(how.Lines);
    bool isTestFile = false;
    try {
        loaded.Error = Load(path, how, reader, isTestFile);
    } catch (const std::bad_alloc&) {
        loaded.Read.reset(); // the memory goes back before the empty test takes some
        loaded.Read = std::make_unique<Test>();
        loaded.Error = ReadError{ReadRefusal::TooLarge, std::string(kFileTooLarge),
                                 path + ": " + std::string(kFileTooLarge)};
        return loaded;
    }
    if (!loaded.Error && !isTestFile)
        loaded.Error = ReadError{ReadRefusal::NotATestFile, std::string(reader_text::kNotATestFile),
                                 std::string(reader_text::kNotATestFile)};
    if (loaded.Error)
        loaded.Read->Reset();
    return loaded;
}

} // namespace mirvane
