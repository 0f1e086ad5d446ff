#include "scrpack/image_coder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#if SCR_CODER_THREADS
#include <thread>
#endif
#include <vector>

#include "lzma_sdk/LzmaEnc.h"
#include "package/checksum.h"

namespace scrpack {
namespace {

void* Allocate(void*, size_t size) { return std::malloc(size); }
void Release(void*, void* address) { std::free(address); }
ISzAlloc kAllocator = {Allocate, Release};

// LZMA at its best: level 9 (64 fast bytes, binary tree with four-byte hashes), a dictionary of
// the frame's size. The size the frame will have is not given, so that every frame, the short
// last one too, gets the same properties, which the image's header holds once.
CLzmaEncProps BestProperties(uint32_t frameSize) {
  CLzmaEncProps props;
  LzmaEncProps_Init(&props);
  props.level = 9;
  props.dictSize = frameSize;
  props.numThreads = 1;
  LzmaEncProps_Normalize(&props);
  return props;
}

class Encoder {
 public:
  explicit Encoder(uint32_t frameSize) : handle_(LzmaEnc_Create(&kAllocator)) {
    if (!handle_) throw std::runtime_error("cannot compress the screen saver: out of memory");
    const CLzmaEncProps props = BestProperties(frameSize);
    if (LzmaEnc_SetProps(handle_, &props) != SZ_OK)
      throw std::runtime_error("cannot compress the screen saver: the coder refuses its settings");
  }
  ~Encoder() { LzmaEnc_Destroy(handle_, &kAllocator, &kAllocator); }
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  void Properties(uint8_t (&out)[package::kLzmaPropertiesSize]) {
    SizeT size = package::kLzmaPropertiesSize;
    if (LzmaEnc_WriteProperties(handle_, out, &size) != SZ_OK ||
        size != package::kLzmaPropertiesSize)
      throw std::runtime_error("cannot compress the screen saver: no coder properties");
  }

  // The frame coded, or nothing when coding does not make it smaller. `done` follows the bytes
  // of the frame taken so far.
  bool Code(const std::string& frame, std::string& coded, std::atomic<int64_t>& done) {
    struct Progress {
      ICompressProgress callbacks;
      std::atomic<int64_t>* done;
    } progress{{[](void* p, UInt64 in, UInt64) -> SRes {
                 if (in != UInt64(-1)) static_cast<Progress*>(p)->done->store(int64_t(in));
                 return SZ_OK;
               }},
               &done};
    coded.resize(frame.size());
    SizeT size = frame.size() - 1;  // at least one byte smaller, or stored
    const SRes result = LzmaEnc_MemEncode(handle_, reinterpret_cast<Byte*>(&coded[0]), &size,
                                          reinterpret_cast<const Byte*>(frame.data()), frame.size(),
                                          0, &progress.callbacks, &kAllocator, &kAllocator);
    done.store(int64_t(frame.size()));
    if (result == SZ_ERROR_OUTPUT_EOF) return false;
    if (result != SZ_OK)
      throw std::runtime_error("cannot compress the screen saver: the coder failed (" +
                               std::to_string(result) + ")");
    coded.resize(size);
    return true;
  }

 private:
  CLzmaEncHandle handle_;
};

// One frame on its way: read, coded by a worker, then written in order.
struct Frame {
  std::string installed;
  std::string coded;
  bool isCoded = false;
  std::atomic<int64_t> done{0};
  std::string error;
};

std::string FrameBytes(const Frame& frame) {
  package::FrameHeader header;
  header.installedSize = uint32_t(frame.installed.size());
  header.installedChecksum = package::Crc32c(0, frame.installed.data(), frame.installed.size());
  const std::string& stored = frame.isCoded ? frame.coded : frame.installed;
  header.method = frame.isCoded ? package::FrameMethod::kLzma : package::FrameMethod::kStored;
  header.storedSize = uint32_t(stored.size());
  header.storedChecksum = package::Crc32c(0, stored.data(), stored.size());
  return package::EncodeFrameHeader(header) + stored;
}

void CodeFrame(Frame& frame, uint32_t frameSize) {
  try {
    Encoder encoder(frameSize);
    frame.isCoded = encoder.Code(frame.installed, frame.coded, frame.done);
  } catch (const std::exception& e) {
    frame.error = e.what();
  }
}

#if SCR_CODER_THREADS
unsigned Workers() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : std::min(cores, 8u);
}

// Each frame of the batch on a thread of its own; `report` every tenth of a second meanwhile.
void CodeBatch(std::vector<std::unique_ptr<Frame>>& batch, uint32_t frameSize,
               const std::function<void()>& report) {
  std::atomic<unsigned> finished{0};
  std::vector<std::thread> threads;
  for (auto& frame : batch) {
    threads.emplace_back([&finished, &frame, frameSize] {
      CodeFrame(*frame, frameSize);
      ++finished;
    });
  }
  while (finished < batch.size()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    report();
  }
  for (std::thread& thread : threads) thread.join();
}
#else
// A toolchain without threads (the i686 release tree's) codes one frame at a time.
unsigned Workers() { return 1; }

void CodeBatch(std::vector<std::unique_ptr<Frame>>& batch, uint32_t frameSize,
               const std::function<void()>& report) {
  for (auto& frame : batch) CodeFrame(*frame, frameSize);
  report();
}
#endif

}  // namespace

CodedImageResult CodeImage(int64_t size, const std::function<std::string(std::size_t count)>& read,
                           const std::function<void(const std::string&)>& write,
                           const CodingProgress& progress, uint32_t frameSize) {
  const int64_t total = size;
  CodedImageResult result;
  package::CodedImageHeader header;
  header.installedSize = total;
  header.frameSize = frameSize;
  Encoder(frameSize).Properties(header.lzmaProperties);
  const std::string headerBytes = package::EncodeImageHeader(header);
  write(headerBytes);
  result.storedLength = int64_t(headerBytes.size());

  int64_t unread = total;
  int64_t coded = 0;
  const unsigned workers = Workers();
  while (coded < total) {
    // A batch of frames, one per worker.
    std::vector<std::unique_ptr<Frame>> batch;
    while (batch.size() < workers && unread > 0) {
      auto frame = std::make_unique<Frame>();
      const int64_t wanted = std::min<int64_t>(frameSize, unread);
      frame->installed = read(static_cast<std::size_t>(wanted));
      if (int64_t(frame->installed.size()) != wanted)
        throw std::runtime_error("the screen saver could not be read to its end");
      unread -= wanted;
      batch.push_back(std::move(frame));
    }
    CodeBatch(batch, frameSize, [&] {
      int64_t done = coded;
      for (const auto& frame : batch) done += frame->done.load();
      progress(done, total);
    });
    for (const auto& frame : batch) {
      if (!frame->error.empty()) throw std::runtime_error(frame->error);
      const std::string bytes = FrameBytes(*frame);
      result.installedChecksum = package::Crc32c(result.installedChecksum, frame->installed.data(),
                                                 frame->installed.size());
      write(bytes);
      result.storedLength += int64_t(bytes.size());
      coded += int64_t(frame->installed.size());
    }
    progress(coded, total);
  }
  return result;
}

std::string CodedImageOf(const std::string& saver, uint32_t frameSize) {
  std::size_t at = 0;
  std::string image;
  CodeImage(
      int64_t(saver.size()),
      [&](std::size_t count) {
        const std::string piece = saver.substr(at, count);
        at += count;
        return piece;
      },
      [&image](const std::string& bytes) { image += bytes; }, [](int64_t, int64_t) {}, frameSize);
  return image;
}

}  // namespace scrpack
