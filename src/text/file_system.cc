#include "text/file_system.h"

#include "platform/platform.h"

FileSystem system_files() {
  return FileSystem{open_regular, create_beside, close_durably, replace_file, discard_file};
}

FileSystem files = system_files();
