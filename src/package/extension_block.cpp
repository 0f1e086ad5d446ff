#include "package/extension_block.h"

#include <cstring>

#include "package/checksum.h"
#include "package/errors.h"
#include "package/package_end.h"
#include "package/pe_image.h"
#include "package/settings_record.h"

namespace package {
namespace {

constexpr char kMetaTag[] = "META";
constexpr char kSumsTag[] = "SUMS";
constexpr char kSignatureTag[] = "USIG";
constexpr std::size_t kTagSize = 4;
constexpr std::size_t kSectionHeaderSize = 8;

void PutNumber(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += char((value >> (8 * i)) & 0xFF);
}

uint32_t NumberAt(const std::string& in, std::size_t at) {
  return LittleEndian(reinterpret_cast<const uint8_t*>(in.data()) + at, 4);
}

void PutSection(std::string& out, const char* tag, const std::string& payload) {
  out.append(tag, kTagSize);
  PutNumber(out, uint32_t(payload.size()));
  out += payload;
}

void PutLine(std::string& out, const char* key, const std::string& value) {
  if (value.find_first_of("\r\n") != std::string::npos)
    throw UnfitExtension(std::string("the ") + key + " holds a line break");
  out += key;
  out += '=';
  out += value;
  out += '\n';
}

std::string MetaPayload(const ExtensionBlock& block) {
  std::string meta;
  if (!block.publisher.empty()) PutLine(meta, "publisher", block.publisher);
  if (!block.version.empty()) PutLine(meta, "version", block.version);
  if (!block.shellInstall) PutLine(meta, "shell-install", "no");
  return meta;
}

std::string SumsPayload(const PackageChecksums& sums) {
  std::string payload;
  PutNumber(payload, sums.image);
  PutNumber(payload, sums.texts);
  PutNumber(payload, sums.record);
  return payload;
}

std::string SignaturePayload(const UninstallerSignature& signature) {
  std::string payload;
  PutNumber(payload, signature.recordChecksum);
  PutNumber(payload, signature.peChecksum);
  PutNumber(payload, signature.padding);
  return payload + signature.table;
}

bool HoldsPackageSignature(const std::string& bytes) {
  for (std::size_t at = 0; at + kSignatureSize <= bytes.size(); ++at)
    if (IsPackageSignature(reinterpret_cast<const uint8_t*>(bytes.data()) + at)) return true;
  return false;
}

void ReadMeta(const std::string& payload, ExtensionBlock& block) {
  std::size_t begin = 0;
  while (begin < payload.size()) {
    std::size_t end = payload.find('\n', begin);
    if (end == std::string::npos) end = payload.size();
    const std::string line = payload.substr(begin, end - begin);
    begin = end + 1;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals), value = line.substr(equals + 1);
    if (key == "publisher")
      block.publisher = value;
    else if (key == "version")
      block.version = value;
    else if (key == "shell-install")
      block.shellInstall = value != "no";
  }
}

bool ReadSums(const std::string& payload, ExtensionBlock& block) {
  if (payload.size() < 12) return false;
  block.checksums =
      PackageChecksums{NumberAt(payload, 0), NumberAt(payload, 4), NumberAt(payload, 8)};
  return true;
}

bool ReadSignature(const std::string& payload, ExtensionBlock& block) {
  if (payload.size() < 12) return false;
  UninstallerSignature signature;
  signature.recordChecksum = NumberAt(payload, 0);
  signature.peChecksum = NumberAt(payload, 4);
  signature.padding = NumberAt(payload, 8);
  signature.table = payload.substr(12);
  block.uninstallerSignature = std::move(signature);
  return true;
}

}  // namespace

std::string EncodeExtension(const ExtensionBlock& block) {
  std::string contents;
  const std::string meta = MetaPayload(block);
  if (!meta.empty()) PutSection(contents, kMetaTag, meta);
  if (block.checksums) PutSection(contents, kSumsTag, SumsPayload(*block.checksums));
  if (block.uninstallerSignature)
    PutSection(contents, kSignatureTag, SignaturePayload(*block.uninstallerSignature));
  if (contents.size() > kMaxExtensionContents)
    throw UnfitExtension("the extension block would exceed " +
                         std::to_string(kMaxExtensionContents / 1024) + " KB");
  // A signature inside the block would be taken for the end of the package.
  if (HoldsPackageSignature(contents))
    throw UnfitExtension("the extension block would hold a package signature");
  std::string out(kExtensionMarker, sizeof kExtensionMarker);
  PutNumber(out, kExtensionVersion);
  PutNumber(out, uint32_t(contents.size()));
  PutNumber(out, Crc32c(0, contents.data(), contents.size()));
  return out + contents;
}

std::optional<ExtensionBlock> DecodeExtensionContents(const std::string& contents) {
  ExtensionBlock block;
  std::size_t at = 0;
  while (at < contents.size()) {
    if (contents.size() - at < kSectionHeaderSize) return std::nullopt;
    const std::string tag = contents.substr(at, kTagSize);
    const uint32_t size = NumberAt(contents, at + kTagSize);
    at += kSectionHeaderSize;
    if (size > contents.size() - at) return std::nullopt;
    const std::string payload = contents.substr(at, size);
    at += size;
    if (tag == kMetaTag)
      ReadMeta(payload, block);
    else if (tag == kSumsTag && !ReadSums(payload, block))
      return std::nullopt;
    else if (tag == kSignatureTag && !ReadSignature(payload, block))
      return std::nullopt;
  }
  return block;
}

std::optional<ExtensionBlock> ReadExtension(ReadSource& source, int64_t packageEnd) {
  const int64_t size = source.Size();
  if (size < 0 || packageEnd < 0 || size - packageEnd < kExtensionHeaderSize) return std::nullopt;
  std::string header(kExtensionHeaderSize, '\0');
  uint32_t delivered = 0;
  if (!source.ReadAt(packageEnd, header.data(), uint32_t(header.size()), delivered) ||
      delivered != header.size())
    return std::nullopt;
  if (std::memcmp(header.data(), kExtensionMarker, sizeof kExtensionMarker) != 0 ||
      NumberAt(header, 8) != kExtensionVersion)
    return std::nullopt;
  const uint32_t length = NumberAt(header, 12);
  if (length > kMaxExtensionContents || size - packageEnd - kExtensionHeaderSize < length)
    return std::nullopt;
  std::string contents(length, '\0');
  delivered = 0;
  if (length > 0 &&
      (!source.ReadAt(packageEnd + kExtensionHeaderSize, contents.data(), length, delivered) ||
       delivered != length))
    return std::nullopt;
  if (Crc32c(0, contents.data(), contents.size()) != NumberAt(header, 16)) return std::nullopt;
  return DecodeExtensionContents(contents);
}

ExtensionBlock RequireExtension(ReadSource& source, int64_t packageEnd, bool required) {
  auto block = ReadExtension(source, packageEnd);
  if (block) return std::move(*block);
  if (required)
    throw CorruptedPackage("corrupted package: the extension block is missing or damaged");
  return {};
}

}  // namespace package
