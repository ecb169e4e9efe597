#pragma once

namespace mirvane::codepage_tables {

extern const char32_t kCp866High[128];
extern const char32_t kCp1251High[128];

} // namespace mirvane::codepage_tables
