// The zip layout written out field by field (local headers, data, central
// directory, end record), and deflate streams joined from independently
// compressed pieces: a full flush ends each piece on a byte boundary with no
// reference to what came before, so pieces can follow one another freely.
#include "raw_zip.h"

#include <zlib.h>

#include <stdexcept>

namespace marrowfield {

namespace {

void Put16(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, uint64_t value) {
  if (value > 0xFFFFFFFFu) throw std::invalid_argument("size needs Zip64");
  Put16(out, static_cast<uint32_t>(value & 0xFFFF));
  Put16(out, static_cast<uint32_t>(value >> 16));
}

uint32_t Crc(const std::string& bytes) {
  return static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()),
            static_cast<uInt>(bytes.size())));
}

// Raw deflate blocks for |text| from a fresh compressor, ended by |flush|
// (Z_FULL_FLUSH: more pieces follow; Z_FINISH: the last piece).
std::string DeflatePiece(const std::string& text, int flush) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8,
                   Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2 failed");
  }
  std::string out;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  char buffer[1 << 14];
  do {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    deflate(&stream, flush);
    out.append(buffer, sizeof buffer - stream.avail_out);
  } while (stream.avail_out == 0);
  deflateEnd(&stream);
  return out;
}

}  // namespace

RawZipMember StoredMember(const std::string& name, const std::string& content) {
  return RawZipMember{name, content, false, Crc(content), content.size()};
}

RawZipMember RepeatedMember(const std::string& name, const std::string& prefix,
                            const std::string& chunk, uint64_t repeat,
                            const std::string& suffix) {
  RawZipMember member{name, DeflatePiece(prefix, Z_FULL_FLUSH), true,
                      Crc(prefix), prefix.size()};
  const std::string chunkBlocks = DeflatePiece(chunk, Z_FULL_FLUSH);
  const uLong chunkCrc = Crc(chunk);
  for (uint64_t i = 0; i < repeat; ++i) {
    member.data += chunkBlocks;
    member.crc = static_cast<uint32_t>(crc32_combine(
        member.crc, chunkCrc, static_cast<z_off_t>(chunk.size())));
  }
  member.data += DeflatePiece(suffix, Z_FINISH);
  member.crc = static_cast<uint32_t>(crc32_combine(
      member.crc, Crc(suffix), static_cast<z_off_t>(suffix.size())));
  member.declaredSize += chunk.size() * repeat + suffix.size();
  return member;
}

std::vector<RawZipMember> StoredMembers(const ZipParts& parts) {
  std::vector<RawZipMember> members;
  for (const auto& [name, content] : parts) {
    members.push_back(StoredMember(name, content));
  }
  return members;
}

std::string WriteRawZip(const std::vector<RawZipMember>& members) {
  std::string archive;
  std::string directory;
  for (const RawZipMember& m : members) {
    const uint64_t offset = archive.size();
    const uint32_t method = m.deflated ? 8 : 0;
    // Local header: signature, version 2.0, no flags, method, a fixed time
    // and date, CRC, sizes, name length, no extra field.
    Put32(archive, 0x04034b50);
    for (const uint32_t field : {20u, 0u, method, 0u, 0x21u}) {
      Put16(archive, field);
    }
    Put32(archive, m.crc);
    Put32(archive, m.data.size());
    Put32(archive, m.declaredSize);
    Put16(archive, static_cast<uint32_t>(m.name.size()));
    Put16(archive, 0);
    archive += m.name + m.data;
    // Central directory entry: the same facts and where the header is.
    Put32(directory, 0x02014b50);
    for (const uint32_t field : {20u, 20u, 0u, method, 0u, 0x21u}) {
      Put16(directory, field);
    }
    Put32(directory, m.crc);
    Put32(directory, m.data.size());
    Put32(directory, m.declaredSize);
    Put16(directory, static_cast<uint32_t>(m.name.size()));
    for (int i = 0; i < 4; ++i) Put16(directory, 0);  // extra .. attributes
    Put32(directory, 0);                              // external attributes
    Put32(directory, offset);
    directory += m.name;
  }
  const uint64_t directoryOffset = archive.size();
  archive += directory;
  Put32(archive, 0x06054b50);
  Put16(archive, 0);
  Put16(archive, 0);
  Put16(archive, static_cast<uint32_t>(members.size()));
  Put16(archive, static_cast<uint32_t>(members.size()));
  Put32(archive, directory.size());
  Put32(archive, directoryOffset);
  Put16(archive, 0);
  return archive;
}

}  // namespace marrowfield
