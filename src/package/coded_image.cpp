#include "package/coded_image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "lzma_sdk/LzmaDec.h"
#include "package/checksum.h"
#include "package/pe_image.h"
#include "package/sections.h"

namespace package {
namespace {

constexpr std::size_t kHeaderChecked = kImageHeaderSize - 4;
constexpr std::size_t kFrameChecked = kFrameHeaderSize - 4;

void Put(std::string& out, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) out += char((value >> (8 * i)) & 0xFF);
}

uint64_t Get64(const uint8_t* p) {
  return uint64_t(LittleEndian(p, 4)) | uint64_t(LittleEndian(p + 4, 4)) << 32;
}

void WithChecksum(std::string& out) { Put(out, Crc32c(0, out.data(), out.size()), 4); }

bool ChecksumFits(const uint8_t* bytes, std::size_t checked) {
  return Crc32c(0, bytes, checked) == LittleEndian(bytes + checked, 4);
}

[[noreturn]] void Damaged() { throw DamagedCodedImage(); }

void* Allocate(void*, size_t size) { return std::malloc(size); }
void Release(void*, void* address) { std::free(address); }
ISzAlloc kAllocator = {Allocate, Release};

// One LZMA decoder for all the frames of an image: its dictionary is allocated once.
class LzmaDecoder {
 public:
  explicit LzmaDecoder(const CodedImageHeader& header) {
    LzmaDec_Construct(&state_);
    if (LzmaDec_Allocate(&state_, header.lzmaProperties, kLzmaPropertiesSize, &kAllocator) != SZ_OK)
      Damaged();
  }
  ~LzmaDecoder() { LzmaDec_Free(&state_, &kAllocator); }
  LzmaDecoder(const LzmaDecoder&) = delete;
  LzmaDecoder& operator=(const LzmaDecoder&) = delete;

  void StartFrame() { LzmaDec_Init(&state_); }
  // Decodes what it can of `in` into `out`; returns false on a damaged stream.
  bool Decode(const uint8_t* in, std::size_t& inSize, uint8_t* out, std::size_t& outSize) {
    ELzmaStatus status;
    SizeT inLength = inSize, outLength = outSize;
    const SRes result =
        LzmaDec_DecodeToBuf(&state_, out, &outLength, in, &inLength, LZMA_FINISH_ANY, &status);
    inSize = inLength;
    outSize = outLength;
    return result == SZ_OK;
  }

 private:
  CLzmaDec state_;
};

// Reads the stored image on behalf of the frames, counting what was read and refusing to read
// past the image.
class StoredReader {
 public:
  StoredReader(int64_t length, PullImageBytes pull) : left_(length), pull_(pull) {}
  void Read(uint8_t* into, uint32_t count) {
    if (int64_t(count) > left_) Damaged();
    pull_(into, count);
    left_ -= count;
    consumed_ += count;
  }
  int64_t Left() const { return left_; }
  int64_t Consumed() const { return consumed_; }

 private:
  int64_t left_;
  int64_t consumed_ = 0;
  PullImageBytes pull_;
};

uint32_t Piece(uint32_t left, const std::vector<uint8_t>& buffer) {
  return uint32_t(std::min<std::size_t>(left, buffer.size()));
}

// A stored frame: its bytes as they are, a buffer at a time.
void CopyStoredFrame(const FrameHeader& frame, StoredReader& reader, std::vector<uint8_t>& output,
                     uint32_t& storedCrc, uint32_t& installedCrc, const PushImageBytes& push) {
  for (uint32_t left = frame.storedSize; left > 0;) {
    const uint32_t piece = Piece(left, output);
    reader.Read(output.data(), piece);
    storedCrc = Crc32c(storedCrc, output.data(), piece);
    installedCrc = Crc32c(installedCrc, output.data(), piece);
    push(output.data(), piece, reader.Consumed());
    left -= piece;
  }
}

// An LZMA frame: the output buffer is filled (or the frame ends) before each push.
void DecodeLzmaFrame(const FrameHeader& frame, LzmaDecoder& decoder, StoredReader& reader,
                     std::vector<uint8_t>& input, std::vector<uint8_t>& output, uint32_t& storedCrc,
                     uint32_t& installedCrc, const PushImageBytes& push) {
  decoder.StartFrame();
  uint32_t inLeft = frame.storedSize;  // not yet read
  std::size_t inAt = 0, inEnd = 0;     // read, not yet decoded
  int64_t decoded = 0;                 // stored bytes the decoder has taken
  const int64_t frameStart = reader.Consumed();
  for (uint32_t outLeft = frame.installedSize; outLeft > 0;) {
    const uint32_t piece = Piece(outLeft, output);
    std::size_t filled = 0;
    while (filled < piece) {
      if (inAt == inEnd) {
        if (inLeft == 0) Damaged();  // the frame's bytes end before its installed size
        const uint32_t wanted = Piece(inLeft, input);
        reader.Read(input.data(), wanted);
        storedCrc = Crc32c(storedCrc, input.data(), wanted);
        inLeft -= wanted;
        inAt = 0;
        inEnd = wanted;
      }
      std::size_t inSize = inEnd - inAt, outSize = piece - filled;
      if (!decoder.Decode(input.data() + inAt, inSize, output.data() + filled, outSize)) Damaged();
      if (inSize == 0 && outSize == 0) Damaged();  // an end mark, or a stream that stalls
      inAt += inSize;
      decoded += int64_t(inSize);
      filled += outSize;
    }
    installedCrc = Crc32c(installedCrc, output.data(), piece);
    // The bar follows what the decoder has taken, not what was read ahead for it.
    push(output.data(), piece, frameStart + decoded);
    outLeft -= piece;
  }
  // The range coder's last bytes may be left undecoded; they are read and checked all the same.
  while (inLeft > 0) {
    const uint32_t wanted = Piece(inLeft, input);
    reader.Read(input.data(), wanted);
    storedCrc = Crc32c(storedCrc, input.data(), wanted);
    inLeft -= wanted;
  }
}

}  // namespace

bool IsCodedImage(const uint8_t* firstBytes, std::size_t count) {
  return count >= 2 && !(firstBytes[0] == 'M' && firstBytes[1] == 'Z');
}

std::string EncodeImageHeader(const CodedImageHeader& header) {
  std::string out(kCodedImageMarker, sizeof kCodedImageMarker);
  Put(out, uint64_t(header.installedSize), 8);
  Put(out, header.frameSize, 4);
  out.append(reinterpret_cast<const char*>(header.lzmaProperties), kLzmaPropertiesSize);
  out.append(3, '\0');
  WithChecksum(out);
  return out;
}

std::string EncodeFrameHeader(const FrameHeader& frame) {
  std::string out;
  Put(out, uint8_t(frame.method), 1);
  out.append(3, '\0');
  Put(out, frame.storedSize, 4);
  Put(out, frame.installedSize, 4);
  Put(out, frame.storedChecksum, 4);
  Put(out, frame.installedChecksum, 4);
  WithChecksum(out);
  return out;
}

CodedImageHeader DecodeImageHeader(const uint8_t (&bytes)[kImageHeaderSize]) {
  if (std::memcmp(bytes, kCodedImageMarker, sizeof kCodedImageMarker) != 0 ||
      !ChecksumFits(bytes, kHeaderChecked) || bytes[25] != 0 || bytes[26] != 0 || bytes[27] != 0)
    Damaged();
  CodedImageHeader header;
  const uint64_t installed = Get64(bytes + 8);
  header.frameSize = LittleEndian(bytes + 16, 4);
  std::memcpy(header.lzmaProperties, bytes + 20, kLzmaPropertiesSize);
  if (installed > uint64_t(kMaxPackageEnd) || header.frameSize == 0 ||
      header.frameSize > kMaxFrameSize || LittleEndian(bytes + 21, 4) > kMaxFrameSize)
    Damaged();
  header.installedSize = int64_t(installed);
  return header;
}

FrameHeader DecodeFrameHeader(const uint8_t (&bytes)[kFrameHeaderSize],
                              const CodedImageHeader& image) {
  if (!ChecksumFits(bytes, kFrameChecked) || bytes[1] != 0 || bytes[2] != 0 || bytes[3] != 0 ||
      bytes[0] > uint8_t(FrameMethod::kLzma))
    Damaged();
  FrameHeader frame;
  frame.method = FrameMethod(bytes[0]);
  frame.storedSize = LittleEndian(bytes + 4, 4);
  frame.installedSize = LittleEndian(bytes + 8, 4);
  frame.storedChecksum = LittleEndian(bytes + 12, 4);
  frame.installedChecksum = LittleEndian(bytes + 16, 4);
  if (frame.installedSize == 0 || frame.installedSize > image.frameSize) Damaged();
  // A frame is coded only when that makes it smaller.
  if (frame.method == FrameMethod::kStored ? frame.storedSize != frame.installedSize
                                           : frame.storedSize >= frame.installedSize)
    Damaged();
  return frame;
}

uint32_t DecodeImage(int64_t storedLength, const PullImageBytes& pull, std::vector<uint8_t>& input,
                     std::vector<uint8_t>& output, const PushImageBytes& push) {
  if (input.empty() || output.empty()) Damaged();
  StoredReader reader(storedLength, pull);
  uint8_t headerBytes[kImageHeaderSize];
  reader.Read(headerBytes, kImageHeaderSize);
  const CodedImageHeader header = DecodeImageHeader(headerBytes);
  std::unique_ptr<LzmaDecoder> decoder;  // made for the first coded frame only
  uint32_t imageCrc = 0;
  int64_t installed = 0;
  while (installed < header.installedSize) {
    uint8_t frameBytes[kFrameHeaderSize];
    reader.Read(frameBytes, kFrameHeaderSize);
    const FrameHeader frame = DecodeFrameHeader(frameBytes, header);
    if (int64_t(frame.storedSize) > reader.Left() ||
        int64_t(frame.installedSize) > header.installedSize - installed)
      Damaged();
    uint32_t storedCrc = 0, installedCrc = 0;
    const auto pushAndCount = [&](const uint8_t* bytes, uint32_t count, int64_t consumed) {
      imageCrc = Crc32c(imageCrc, bytes, count);
      push(bytes, count, consumed);
    };
    if (frame.method == FrameMethod::kStored) {
      CopyStoredFrame(frame, reader, output, storedCrc, installedCrc, pushAndCount);
    } else {
      if (!decoder) decoder = std::make_unique<LzmaDecoder>(header);
      DecodeLzmaFrame(frame, *decoder, reader, input, output, storedCrc, installedCrc,
                      pushAndCount);
    }
    if (storedCrc != frame.storedChecksum || installedCrc != frame.installedChecksum) Damaged();
    installed += frame.installedSize;
  }
  if (reader.Left() != 0) Damaged();
  return imageCrc;
}

ImageSizes ImageSizesOf(ReadSource& source, int64_t packageEnd, const SettingsRecord& record) {
  ValidateImage(record, packageEnd);
  ImageSizes sizes;
  sizes.stored = sizes.installed = ImageLength(record);
  uint8_t header[kImageHeaderSize] = {};
  const uint32_t wanted = uint32_t(std::min<int64_t>(sizes.stored, kImageHeaderSize));
  uint32_t delivered = 0;
  if (wanted > 0 && (!source.ReadAt(ImageStart(packageEnd, record), header, wanted, delivered) ||
                     delivered != wanted))
    throw CorruptedPackage("corrupted package: the image cannot be read");
  sizes.coded = IsCodedImage(header, wanted);
  if (!sizes.coded) return sizes;
  if (wanted < kImageHeaderSize) Damaged();
  sizes.installed = DecodeImageHeader(header).installedSize;
  return sizes;
}

}  // namespace package
