// libzip over an in-memory buffer: the file was read whole already, so that
// "cannot open" errors are reported the same way for every format.
#include "zip_archive.h"

#include <zip.h>

#include <memory>
#include <utility>

namespace marrowfield {

namespace {

struct ZipFileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

std::string DescribeZipError(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

}  // namespace

ZipArchive::ZipArchive(std::string bytes) : bytes_(std::move(bytes)) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source =
      zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &error);
  if (source == nullptr) {
    zip_error_fini(&error);
    throw std::bad_alloc();
  }
  archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
  if (archive_ == nullptr) {
    zip_source_free(source);
    const int code = zip_error_code_zip(&error);
    zip_error_fini(&error);
    throw ZipError(code == ZIP_ER_NOZIP ? "not a zip archive"
                                        : DescribeZipError(code));
  }
  zip_error_fini(&error);
}

ZipArchive::~ZipArchive() { zip_discard(archive_); }

std::optional<uint64_t> ZipArchive::Find(const std::string& name) const {
  zip_int64_t index = zip_name_locate(archive_, name.c_str(), 0);
  if (index < 0) index = zip_name_locate(archive_, name.c_str(), ZIP_FL_NOCASE);
  if (index < 0) return std::nullopt;
  return static_cast<uint64_t>(index);
}

void ZipArchive::Stream(
    uint64_t index,
    const std::function<void(const char*, std::size_t, bool)>& sink) const {
  std::unique_ptr<zip_file_t, ZipFileCloser> file(
      zip_fopen_index(archive_, index, 0));
  if (!file) throw ZipError(zip_strerror(archive_));
  char buffer[1 << 16];
  for (;;) {
    const zip_int64_t got = zip_fread(file.get(), buffer, sizeof buffer);
    if (got < 0) throw ZipError(zip_file_strerror(file.get()));
    if (got == 0) break;
    sink(buffer, static_cast<std::size_t>(got), false);
  }
  sink(buffer, 0, true);
}

std::string ZipArchive::Read(uint64_t index) const {
  std::string member;
  Stream(index, [&member](const char* data, std::size_t size, bool) {
    member.append(data, size);
  });
  return member;
}

}  // namespace marrowfield
