#include "scrpack/signed_copy.h"

#include <stdexcept>

#include "package/extension_block.h"
#include "package/pe_image.h"
#include "package/pe_signature.h"
#include "scrpack/input_file.h"

namespace scrpack {
namespace {

constexpr std::size_t kComparePiece = 1 << 20;
constexpr std::size_t kChecksumSize = 4;
constexpr std::size_t kEntrySize = 8;

std::runtime_error Unfit(const std::string& what, const std::string& why) {
  return std::runtime_error(what + " " + why);
}

bool IsSignatureField(int64_t at, const package::SignatureFields& fields) {
  const auto in = [at](std::size_t offset, std::size_t size) {
    return at >= int64_t(offset) && at < int64_t(offset + size);
  };
  return in(fields.checksumOffset, kChecksumSize) || in(fields.entryOffset, kEntrySize);
}

// The first position below `length` where the two differ outside the signature's fields, or -1.
int64_t FirstDifference(InputFile& original, InputFile& signedCopy, int64_t length,
                        const package::SignatureFields& fields) {
  for (int64_t at = 0; at < length;) {
    const auto piece = static_cast<std::size_t>(
        length - at < int64_t(kComparePiece) ? length - at : int64_t(kComparePiece));
    const std::string a = ReadChunk(original, piece), b = ReadChunk(signedCopy, piece);
    for (std::size_t i = 0; i < piece; ++i) {
      if (a[i] != b[i] && !IsSignatureField(at + int64_t(i), fields)) return at + int64_t(i);
    }
    at += int64_t(piece);
  }
  return -1;
}

}  // namespace

AppendedSignature ReadAppendedSignature(const std::string& unsignedPath,
                                        const std::string& signedPath, const std::string& what) {
  InputFile original = OpenInputFile("the file to sign", unsignedPath);
  InputFile signedCopy = OpenInputFile(what, signedPath);
  const std::size_t probe = static_cast<std::size_t>(
      signedCopy.size < int64_t(package::kPeHeaderProbe) ? signedCopy.size
                                                         : int64_t(package::kPeHeaderProbe));
  const std::string header = ReadChunk(signedCopy, probe);
  package::SignatureFields fields;
  if (!package::ReadSignatureFields(reinterpret_cast<const uint8_t*>(header.data()), probe, fields))
    throw Unfit(what, "is not a Windows program with a certificate-table entry");
  if (fields.tableSize == 0) throw Unfit(what, "carries no code signature");
  signedCopy.stream.seekg(0);

  const int64_t length = original.size;
  if (signedCopy.size <= length)
    throw Unfit(what, "is no longer than the file it was signed from: nothing was appended");
  const int64_t differs = FirstDifference(original, signedCopy, length, fields);
  if (differs >= 0)
    throw Unfit(what, "differs from the file it was signed from at byte " +
                          std::to_string(differs) +
                          ": it was signed from other bytes, or signing changed more than the "
                          "checksum and the certificate entry");

  const int64_t padding = int64_t(fields.tablePosition) - length;
  if (padding < 0 || padding > int64_t(package::kMaxSignaturePadding) ||
      int64_t(fields.tablePosition) + int64_t(fields.tableSize) != signedCopy.size)
    throw Unfit(what, "has a certificate entry (position " + std::to_string(fields.tablePosition) +
                          ", size " + std::to_string(fields.tableSize) +
                          ") that is not the table appended at its end");
  if (fields.tableSize > package::kMaxExtensionContents)
    throw Unfit(what, "has a certificate table of " + std::to_string(fields.tableSize) +
                          " bytes; at most " + std::to_string(package::kMaxExtensionContents) +
                          " are carried");
  const std::string tail =
      ReadChunk(signedCopy, static_cast<std::size_t>(signedCopy.size - length));
  if (tail.find_first_not_of('\0') < std::size_t(padding))
    throw Unfit(what,
                "has bytes other than zeros between the file it was signed from and its "
                "certificate table");
  return {fields.checksum, uint32_t(padding), tail.substr(std::size_t(padding))};
}

}  // namespace scrpack
