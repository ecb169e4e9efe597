#include "cli/PdfSheet.h"

#include "export/PrintSheet.h"
#include "testfile/FileIo.h"

#if defined(__linux__)
#include <dlfcn.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <vector>

namespace mirvane {

namespace {

using WriteSheet = int (*)(const char* html, std::size_t length, const char* path, char* error,
                           std::size_t errorSize);
using ShareCleanup = void (*)(void* programCleanup);

constexpr const char* kModule = "mirvane-pdf.so";

#if defined(__linux__)
// Beside the tool (the build), or in lib/mirvane/ of its prefix (installed).
std::vector<std::filesystem::path> ModulePlaces()
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    const std::filesystem::path folder = self.parent_path();
    return {folder / kModule, folder.parent_path() / "lib" / "mirvane" / kModule};
}
#endif

} // namespace

std::optional<std::string> WritePdfSheet(const Test& test, const DocumentOrder& order, TextContent content,
                                         const std::string& path)
{
#if defined(__linux__)
    for (const std::filesystem::path& place : ModulePlaces()) {
        std::error_code ec;
        if (!std::filesystem::exists(place, ec))
            continue;
        void* module = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module)
            return std::string("PDF: ") + dlerror();
        auto write = reinterpret_cast<WriteSheet>(dlsym(module, "mirvane_write_sheet_pdf"));
        if (!write)
            return "PDF: " + place.string() + " has no PDF writer";
        // The module's temporary file is removed by this program's interrupt
        // handler like any other.
        if (auto share = reinterpret_cast<ShareCleanup>(dlsym(module, "mirvane_share_cleanup")))
            share(ProgramTemporaryCleanup());
        const std::string html = PrintSheetHtml(test, order, content);
        char error[1024] = {};
        // The module stays loaded: Qt does not expect to be unloaded.
        if (write(html.data(), html.size(), path.c_str(), error, sizeof error) != 0)
            return std::string(error);
        return std::nullopt;
    }
#endif
    return std::string("PDF: the PDF writer ") + kModule + " is not installed beside mirvane-cli "
           "(it comes with the build of the editor)";
}

} // namespace mirvane
