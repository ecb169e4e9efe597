#pragma once
// A zip archive held in memory (a .docx or an .odt), read by libzip. A part
// is inflated only up to a cap, so that a small archive cannot fill the
// memory; a broken or encrypted archive is an ImportError.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

typedef struct zip zip_t;

namespace mirvane {

class ZipArchive {
public:
    // Throws ImportError when the bytes are no zip archive or a broken one.
    // The bytes are not copied: they must outlive the archive.
    explicit ZipArchive(std::string_view bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // The part's bytes, or nothing when the archive has no such part. Throws
    // ImportError for a part that is encrypted, broken, or larger than
    // `limit` once inflated.
    std::optional<std::string> Part(const std::string& name, std::size_t limit) const;

private:
    zip_t* archive_ = nullptr;
};

// The most a document's text part may inflate to: a 300-page test is some
// 10 MB of Word's XML.
inline constexpr std::size_t kDocumentPartLimit = 128u << 20;

} // namespace mirvane
