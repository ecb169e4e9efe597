#pragma once
// Writes a zip archive in memory with libzip, the way a word processor
// stores its document, so that tests and benchmarks build their own .docx
// and .odt files.
#include <zip.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace mirvane::testing {

struct ZipPart {
    std::string Name;
    std::string Bytes;
    bool Encrypted = false;
};

inline std::string ZipBytes(const std::vector<ZipPart>& parts)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* memory = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(memory);
    zip_t* archive = zip_open_from_source(memory, ZIP_TRUNCATE, &error);
    if (!archive)
        throw std::runtime_error("zip_open_from_source");
    for (const ZipPart& part : parts) {
        zip_source_t* source = zip_source_buffer(archive, part.Bytes.data(), part.Bytes.size(), 0);
        const zip_int64_t index = zip_file_add(archive, part.Name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0)
            throw std::runtime_error("zip_file_add");
        // OpenDocument's mimetype stands first and uncompressed.
        if (part.Name == "mimetype")
            zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
        if (part.Encrypted &&
            zip_file_set_encryption(archive, static_cast<zip_uint64_t>(index), ZIP_EM_AES_256, "пароль") != 0)
            throw std::runtime_error("zip_file_set_encryption");
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error("zip_close");
    std::string bytes;
    zip_source_open(memory);
    char buffer[64 * 1024];
    for (zip_int64_t read; (read = zip_source_read(memory, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<std::size_t>(read));
    zip_source_close(memory);
    zip_source_free(memory);
    zip_error_fini(&error);
    return bytes;
}

// A .docx of the paragraphs given as Word's XML (<w:p>...</w:p> and tables).
inline std::string DocxBytes(const std::string& body)
{
    return ZipBytes({{"[Content_Types].xml",
                      "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                      "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
                      "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>"},
                     {"word/document.xml",
                      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                      "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                      "xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\"><w:body>" +
                          body + "</w:body></w:document>"}});
}

// An .odt of the automatic styles and the text given as OpenDocument's XML.
inline std::string OdtBytes(const std::string& styles, const std::string& text)
{
    return ZipBytes({{"mimetype", "application/vnd.oasis.opendocument.text"},
                     {"content.xml",
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
                      "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                      "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
                      "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                      "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
                      "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
                      "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\">"
                      "<office:automatic-styles>" +
                          styles + "</office:automatic-styles><office:body><office:text>" + text +
                          "</office:text></office:body></office:document-content>"}});
}

} // namespace mirvane::testing
