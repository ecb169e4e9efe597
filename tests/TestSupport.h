#pragma once
// Helpers shared by the core tests: building test files in the DOS code page
// from readable UTF-8 lines, and reading them with the messages collected.
#include "model/CodePage.h"
#include "model/KeyCounter.h"
#include "model/Test.h"
#include "testfile/TestFileReader.h"

#include <csignal>
#include <functional>
#include <initializer_list>
#include <sys/resource.h>
#include <unistd.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mirvane::testing {

// Lines joined with CR LF (and a final CR LF), encoded in the DOS code page.
inline std::string DosFile(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (std::string_view line : lines) {
        text.append(line);
        text.append("\r\n");
    }
    return AnsiToOem(text);
}

struct LoadedTest {
    std::unique_ptr<Test> test = std::make_unique<Test>();
    std::vector<ReaderMessage> messages;
    bool isTestFile = false;

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> out;
        for (const auto& m : messages)
            out.push_back(m.Text);
        return out;
    }
};

inline LoadedTest LoadBytes(std::string_view bytes)
{
    ResetKeyNumbers();
    LoadedTest loaded;
    TestFileReader reader(*loaded.test, [&](const ReaderMessage& m) { loaded.messages.push_back(m); });
    loaded.isTestFile = reader.LoadFile(bytes);
    return loaded;
}

inline LoadedTest Load(std::initializer_list<std::string_view> lines) { return LoadBytes(DosFile(lines)); }

// Runs `action` while every write past `bytes` into a file fails, as on a
// full disk; this holds for root too, unlike file permissions.
inline void WithFileSizeLimit(rlim_t bytes, const std::function<void()>& action)
{
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = saved;
    tight.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &tight);
    action();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
}

// Runs `action` with the effective user and group of an unprivileged user
// when the tests run as root, so that file permissions count as they do for
// a teacher; as another user it simply runs. False, without running it, when
// root cannot take that user's ids.
inline bool AsUnprivilegedUser(const std::function<void()>& action)
{
    if (::geteuid() != 0) {
        action();
        return true;
    }
    constexpr uid_t kNobody = 65534;
    constexpr gid_t kNogroup = 65534;
    if (::setegid(kNogroup) != 0)
        return false;
    if (::seteuid(kNobody) != 0) {
        (void)!::setegid(0);
        return false;
    }
    action();
    (void)!::seteuid(0);
    (void)!::setegid(0);
    return true;
}

} // namespace mirvane::testing
