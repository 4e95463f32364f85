// libzip over an in-memory buffer: the file was read whole already, so that
// "cannot open" errors are reported the same way for every format.
#include "zip_archive.h"

#include <zip.h>

#include <memory>
#include <utility>

#include "input_error.h"
#include "reader_limits.h"

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

// libzip finds members through the central directory at the end of the
// archive; a file cut short has lost it but still starts like an archive.
std::string DescribeOpenError(int code, const std::string& bytes) {
  if (code != ZIP_ER_NOZIP) return DescribeZipError(code);
  if (bytes.compare(0, 4, "PK\x03\x04") == 0) {
    return "the zip archive is truncated or damaged (its central directory "
           "is missing)";
  }
  return "not a zip archive";
}

}  // namespace

ZipArchive::ZipArchive(std::string bytes, uint64_t maxInflatedBytes)
    : bytes_(std::move(bytes)), maxInflatedBytes_(maxInflatedBytes) {
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
    throw ZipError(DescribeOpenError(code, bytes_));
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

void ZipArchive::CheckInflated(uint64_t index, uint64_t maxBytes,
                               uint64_t sizeSoFar, uint64_t size) const {
  if (size > maxBytes - sizeSoFar) {
    const char* name = zip_get_name(archive_, index, 0);
    throw InputError("part " + std::string(name ? name : "?") +
                     " inflates to more than " + DescribeBytes(maxBytes) +
                     " (the limit for this part)");
  }
  if (size > maxInflatedBytes_ - inflatedBytes_) {
    throw InputError("the parts read inflate to more than " +
                     DescribeBytes(maxInflatedBytes_) +
                     " together (the limit for one workbook)");
  }
}

void ZipArchive::Stream(
    uint64_t index, uint64_t maxBytes,
    const std::function<void(const char*, std::size_t, bool)>& sink) {
  zip_stat_t declared;
  if (zip_stat_index(archive_, index, 0, &declared) == 0 &&
      (declared.valid & ZIP_STAT_SIZE) != 0) {
    CheckInflated(index, maxBytes, 0, declared.size);
  }
  std::unique_ptr<zip_file_t, ZipFileCloser> file(
      zip_fopen_index(archive_, index, 0));
  if (!file) throw ZipError(zip_strerror(archive_));
  char buffer[1 << 16];
  uint64_t size = 0;
  for (;;) {
    const zip_int64_t got = zip_fread(file.get(), buffer, sizeof buffer);
    if (got < 0) throw ZipError(zip_file_strerror(file.get()));
    if (got == 0) break;
    const auto count = static_cast<uint64_t>(got);
    CheckInflated(index, maxBytes, size, count);
    size += count;
    inflatedBytes_ += count;
    sink(buffer, static_cast<std::size_t>(got), false);
  }
  sink(buffer, 0, true);
}

void ZipArchive::WriteCopy(const std::string& outPath, uint64_t replaced,
                           std::string_view replacement) const {
  int code = 0;
  zip_t* opened = zip_open(outPath.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (opened == nullptr) throw ZipError(DescribeZipError(code));
  // Until zip_close() has written it, the copy is only in memory; dropping
  // it on failure leaves no half-written file behind.
  std::unique_ptr<zip_t, void (*)(zip_t*)> out(opened, &zip_discard);
  const auto fail = [&out]() { throw ZipError(zip_strerror(out.get())); };
  const zip_int64_t count = zip_get_num_entries(archive_, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    const char* name = zip_get_name(archive_, index, 0);
    if (name == nullptr) throw ZipError(zip_strerror(archive_));
    zip_source_t* source =
        index == replaced
            ? zip_source_buffer(out.get(), replacement.data(),
                                replacement.size(), 0)
            : zip_source_zip(out.get(), archive_, index, 0, 0, -1);
    if (source == nullptr) fail();
    const zip_int64_t added = zip_file_add(out.get(), name, source, 0);
    if (added < 0) {
      zip_source_free(source);
      fail();
    }
    const auto at = static_cast<zip_uint64_t>(added);
    zip_stat_t stat;
    if (zip_stat_index(archive_, index, 0, &stat) == 0 &&
        (stat.valid & ZIP_STAT_MTIME) != 0 &&
        zip_file_set_mtime(out.get(), at, stat.mtime, 0) != 0) {
      fail();
    }
    if (index == replaced &&
        zip_set_file_compression(out.get(), at, ZIP_CM_DEFLATE, 0) != 0) {
      fail();
    }
  }
  int commentLength = 0;
  const char* comment = zip_get_archive_comment(archive_, &commentLength, 0);
  if (comment != nullptr && commentLength > 0 &&
      zip_set_archive_comment(out.get(), comment,
                              static_cast<zip_uint16_t>(commentLength)) != 0) {
    fail();
  }
  if (zip_close(out.get()) != 0) fail();
  out.release();  // zip_close() freed it
}

}  // namespace marrowfield
