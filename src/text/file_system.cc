#include "text/file_system.h"

#include <filesystem>
#include <system_error>

#include "platform/platform.h"

FileSystem system_files() {
  return FileSystem{open_regular, create_beside, close_durably, replace_file, discard_file};
}

FileSystem files = system_files();

std::string absolute_path(const char* name) {
  std::error_code ec;
  std::string utf8(name);
  const std::filesystem::path p =
      std::filesystem::absolute(std::u8string(utf8.begin(), utf8.end()), ec);
  if (ec) return utf8;
  const std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}
