#include "import/import_stage.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "program1/exit_status.h"
#include "text/console.h"
#include "text/trouble.h"

namespace {

/// The list's bytes; false when it could not be read (the reason told).
bool ReadList(const char* path, std::string* bytes) {
  int err = 0;
  FILE* in = open_regular(path, &err);
  if (!in) {
    trouble("%s: не удалось открыть список: %s", path, system_reason(err));
    return false;
  }
  constexpr size_t kChunk = size_t{64} * 1024;
  std::string chunk(kChunk, '\0');
  size_t n = 0;
  while ((n = std::fread(chunk.data(), 1, kChunk, in)) > 0 &&
         bytes->size() <= static_cast<size_t>(kMaxListBytes))
    bytes->append(chunk.data(), n);
  const int read_error = std::ferror(in) ? errno : 0;
  std::fclose(in);
  if (read_error != 0) {
    trouble("%s: ошибка чтения списка: %s", path, system_reason(read_error));
    return false;
  }
  if (bytes->size() > static_cast<size_t>(kMaxListBytes)) {
    trouble("%s: список больше %d МиБ и не читается: разделите его", path, kMaxListMebibytes);
    return false;
  }
  return true;
}

void TellWarnings(const char* path, const ImportResult& r) {
  for (const ImportWarning& w : r.warnings) {
    if (w.line > 0)
      tell("%s:%d:%d: предупреждение: %s", path, w.line, w.col, w.text.c_str());
    else
      tell("%s: предупреждение: %s", path, w.text.c_str());
  }
  if (r.more_warnings > 0) tell("%s: ещё предупреждений: %d (не показаны)", path, r.more_warnings);
}

/// Writes the data file as a new file; false when that failed (told).
bool WriteNew(const char* out_path, const std::string& text) {
  FILE* out = create_new_file(out_path);
  if (!out) {
    trouble("%s: файл данных не записан: %s", out_path,
            errno == EEXIST ? "такой файл уже есть, а заменять его нельзя" : system_reason(errno));
    return false;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  const int err = errno;
  if (!close_durably(out) || !written) {
    trouble("%s: файл данных не записан: %s", out_path, system_reason(written ? errno : err));
    // The file is ours, made a moment ago: a half of it is worth nothing.
    discard_file(out_path);
    return false;
  }
  return true;
}

}  // namespace

int import_stage(const char* list_path, const char* out_path, const ImportOptions& options) {
  std::string bytes;
  if (!ReadList(list_path, &bytes)) return kTroubleStatus;
  const ImportResult r = import_list(bytes, options);
  TellWarnings(list_path, r);
  if (!r.trouble.empty()) {
    trouble("%s: %s", list_path, r.trouble.c_str());
    return kTroubleStatus;
  }
  if (out_path) return WriteNew(out_path, r.data_file) ? 0 : kTroubleStatus;
  const bool written =
      std::fwrite(r.data_file.data(), 1, r.data_file.size(), stdout) == r.data_file.size() &&
      std::fflush(stdout) == 0;
  if (!written) {
    trouble("файл данных не выведен: %s", system_reason(errno));
    return kTroubleStatus;
  }
  return 0;
}
