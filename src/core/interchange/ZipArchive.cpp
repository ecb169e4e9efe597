#include "interchange/ZipArchive.h"

#include "interchange/Interchange.h"

#include <zip.h>

namespace mirvane {

ZipArchive::ZipArchive(std::string_view bytes)
{
    // A password-protected Office document is no zip but a compound file.
    if (bytes.substr(0, 8) == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        throw ImportError(0, "документ защищён паролем или сохранён в старом формате (.doc): сохраните его как .docx без пароля");
    if (bytes.substr(0, 2) != "PK")
        throw ImportError(0, "файл не документ: это не zip-архив .docx или .odt");
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source)
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
    const int code = zip_error_code_zip(&error);
    zip_error_fini(&error);
    if (!archive_) {
        if (source)
            zip_source_free(source);
        throw ImportError(0, code == ZIP_ER_MEMORY ? "не хватает памяти, чтобы открыть документ"
                                                   : "архив документа повреждён: его не удаётся открыть");
    }
}

ZipArchive::~ZipArchive() { zip_discard(archive_); }

std::optional<std::string> ZipArchive::Part(const std::string& name, std::size_t limit) const
{
    const zip_int64_t index = zip_name_locate(archive_, name.c_str(), 0);
    if (index < 0)
        return std::nullopt;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &stat) != 0)
        throw ImportError(0, "архив документа повреждён: не читается " + name);
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
        throw ImportError(0, "документ зашифрован: сохраните его без пароля");
    zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
    if (!file)
        throw ImportError(0, "архив документа повреждён: не открывается " + name);
    // The size the archive states may lie: what is read is counted instead.
    std::string out;
    char buffer[64 * 1024];
    for (;;) {
        const zip_int64_t read = zip_fread(file, buffer, sizeof buffer);
        if (read < 0) {
            zip_fclose(file);
            throw ImportError(0, "архив документа повреждён: не распаковывается " + name);
        }
        if (read == 0)
            break;
        if (out.size() + static_cast<std::size_t>(read) > limit) {
            zip_fclose(file);
            throw ImportError(0, "текст документа больше " + std::to_string(limit >> 20) + " МБ: такой документ не импортируется");
        }
        out.append(buffer, static_cast<std::size_t>(read));
    }
    zip_fclose(file);
    return out;
}

} // namespace mirvane
