#include "scrpack/setup_writer.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "integration/saver_file_name.h"
#include "package/checksum.h"
#include "package/package_checksums.h"
#include "package/package_writer.h"
#include "scrpack/signed_copy.h"
#include "scrpack/sign_command.h"
#include "scrpack/temporary_files.h"
#include "scrpack/uninstaller_command.h"

namespace scrpack {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCopyChunk = 1 << 20;

// Writing the setup file; failures name the output as it was given, not the temporary file.
class OutputWriter {
 public:
  OutputWriter(const BuildOptions& options, const std::string& temporary)
      : name_(OutputName(options)) {
    errno = 0;
    out_.open(fs::u8path(temporary), std::ios::binary | std::ios::trunc);
    if (!out_) throw std::runtime_error(name_ + ": cannot create it: " + LastReason());
  }
  void Write(const std::string& bytes) {
    errno = 0;
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out_) throw std::runtime_error(name_ + ": cannot write it: " + LastReason());
  }
  // Makes what was written readable through another handle.
  void Flush() {
    errno = 0;
    out_.flush();
    if (!out_) throw std::runtime_error(name_ + ": cannot write it: " + LastReason());
  }
  void Close() {
    errno = 0;
    out_.close();
    if (!out_) throw std::runtime_error(name_ + ": cannot write it: " + LastReason());
  }

 private:
  std::string name_;
  std::ofstream out_;
};

// The saver as it is, its checksum taken on the way.
uint32_t WriteStoredImage(const std::string& saverHead, InputFile& saver, OutputWriter& out) {
  out.Write(saverHead);
  uint32_t checksum = package::Crc32c(0, saverHead.data(), saverHead.size());
  for (int64_t left = saver.size - int64_t(saverHead.size()); left > 0;) {
    const auto piece =
        static_cast<std::size_t>(left < int64_t(kCopyChunk) ? left : int64_t(kCopyChunk));
    const std::string bytes = ReadChunk(saver, piece);
    checksum = package::Crc32c(checksum, bytes.data(), bytes.size());
    out.Write(bytes);
    left -= int64_t(piece);
  }
  return checksum;
}

// The saver coded (image_coder.h); returns the checksum of the bytes as installed.
uint32_t WriteCodedImage(const std::string& saverHead, InputFile& saver, OutputWriter& out,
                         const CodingProgress& progress, ImageSizes& sizes) {
  std::string head = saverHead;  // read already, for the checks
  const auto read = [&head, &saver](std::size_t count) {
    std::string bytes = head.substr(0, count);
    head.erase(0, bytes.size());
    if (bytes.size() < count) bytes += ReadChunk(saver, count - bytes.size());
    return bytes;
  };
  const CodedImageResult coded = CodeImage(
      saver.size, read, [&out](const std::string& bytes) { out.Write(bytes); }, progress);
  sizes.stored = coded.storedLength;
  return coded.installedChecksum;
}

// The stub is copied as it is, the saver as it is or coded; everything behind them comes from
// the package writer, so scrpack and the tests write the same bytes. Fills the record's sizes
// once the image's stored length is known, and returns the package's checksums, the image's
// taken of the bytes as installed.
package::PackageChecksums WriteSetupFile(const std::string& stub, const std::string& saverHead,
                                         InputFile& saver, const Texts& texts,
                                         package::SettingsRecord& record, OutputWriter& out,
                                         bool compress, const CodingProgress& progress,
                                         ImageSizes& sizes) {
  package::PackageChecksums sums;
  out.Write(stub);
  sizes.installed = saver.size;
  sizes.compressed = compress;
  sizes.stored = saver.size;
  sums.image = compress ? WriteCodedImage(saverHead, saver, out, progress, sizes)
                        : WriteStoredImage(saverHead, saver, out);
  package::FillPackageFields(record, sizes.stored, int64_t(texts.readme.size()),
                             int64_t(texts.license.size()), int64_t(texts.language.size()));
  const std::string allTexts = texts.readme + texts.license + texts.language;
  sums.texts = package::Crc32c(0, allTexts.data(), allTexts.size());
  sums.record = package::RecordChecksum(record);
  out.Write(package::PackageTail(texts.readme, texts.license, texts.language, record));
  return sums;
}

// What is written before the output is complete, beside it.
struct Scratch {
  std::string setup;              // the setup file, unsigned
  std::string uninstaller;        // the uninstaller computed from it
  std::string signedUninstaller;  // what the sign command makes of those two
  std::string signedSetup;
};

// A signing tool may care for the extension of what it signs.
Scratch ScratchFor(const BuildOptions& options) {
  return {options.output + ".tmp", options.output + ".uninstaller.tmp.exe",
          options.output + ".uninstaller.signed.tmp.exe", options.output + ".signed.tmp.exe"};
}

std::string EncodedBlock(const package::ExtensionBlock& block) {
  try {
    return package::EncodeExtension(block);
  } catch (const package::UnfitExtension& e) {
    throw std::runtime_error(std::string("cannot write the extension block: ") + e.what());
  }
}

// The uninstaller computed from the unsigned setup file, signed by the sign command or taken
// from --uninstaller-signature, as the block carries it.
package::UninstallerSignature SignedUninstaller(const BuildOptions& options, const Scratch& scratch,
                                                const package::SettingsRecord& record) {
  WriteUninstallerOf(scratch.setup, OutputName(options), scratch.uninstaller,
                     "the uninstaller of " + OutputName(options), false);
  std::string signedPath = options.uninstallerSignature;
  std::string what = options.Where("--uninstaller-signature") + " " + Quoted(signedPath);
  if (!options.signCommand.empty()) {
    signedPath = scratch.signedUninstaller;
    what = "the signed uninstaller";
    Sign(options.signCommand, scratch.uninstaller, signedPath, "the uninstaller");
  }
  const AppendedSignature appended = ReadAppendedSignature(scratch.uninstaller, signedPath, what);
  package::SettingsRecord installed = record;  // as the uninstaller holds it
  integration::ShortenSaverFileName(installed);
  return {package::RecordChecksum(installed), appended.checksum, appended.padding, appended.table};
}

}  // namespace

std::string OutputName(const BuildOptions& options) {
  return options.Where("--output") + " " + Quoted(options.output);
}

std::vector<std::string> ScratchFiles(const BuildOptions& options) {
  const Scratch scratch = ScratchFor(options);
  return {scratch.setup, scratch.uninstaller, scratch.signedUninstaller, scratch.signedSetup};
}

void WriteOutput(const BuildOptions& options, const std::string& stub, const std::string& saverHead,
                 InputFile& saver, const Texts& texts, package::SettingsRecord& record,
                 package::ExtensionBlock block, const CodingProgress& progress, ImageSizes& sizes) {
  const Scratch scratch = ScratchFor(options);
  TemporaryFiles temporaries(ScratchFiles(options));
  {
    OutputWriter writer(options, scratch.setup);
    block.checksums = WriteSetupFile(stub, saverHead, saver, texts, record, writer,
                                     options.compress, progress, sizes);
    writer.Flush();
    if (!options.signCommand.empty() || !options.uninstallerSignature.empty())
      block.uninstallerSignature = SignedUninstaller(options, scratch, record);
    writer.Write(EncodedBlock(block));
    writer.Close();
  }
  std::string finished = scratch.setup;
  if (!options.signCommand.empty()) {
    Sign(options.signCommand, scratch.setup, scratch.signedSetup, "the setup file");
    ReadAppendedSignature(scratch.setup, scratch.signedSetup, "the signed setup file");
    finished = scratch.signedSetup;
  }
  temporaries.MoveInPlace(finished, options.output, OutputName(options));
}

}  // namespace scrpack
