#include "support/fake_os.h"

#include <algorithm>
#include <sstream>

namespace fake {

namespace {

constexpr int32_t kEFail = static_cast<int32_t>(0x80004005u);
constexpr int32_t kEInvalidArg = static_cast<int32_t>(0x80070057u);
constexpr int32_t kEPathNotFound = static_cast<int32_t>(0x80070003u);
constexpr int32_t kEAccessDenied = static_cast<int32_t>(0x80070005u);
constexpr intptr_t kSeErrFileNotFound = 2;
constexpr os::ErrorCode kErrorFileNotFound = 2;
constexpr os::ErrorCode kErrorPathNotFound = 3;
constexpr os::ErrorCode kErrorAccessDenied = 5;
constexpr os::ErrorCode kErrorReadFault = 30;
constexpr os::ErrorCode kErrorSharingViolation = 32;
constexpr os::ErrorCode kErrorFileExists = 80;
constexpr os::ErrorCode kErrorDiskFull = 112;
constexpr os::ErrorCode kErrorAlreadyExists = 183;
constexpr uint32_t kAttributeArchive = 0x20u;
constexpr std::size_t kMaxPath = 260;

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

std::vector<std::string> SplitPath(const std::string& text) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : text) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Splits a backslash path into its root ("C:\" or "\\server\share\") and the rest; empty root
// for a relative path.
std::string RootOf(const std::string& path) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\')
    return path.substr(0, 3);
  if (StartsWith(path, "\\\\")) {
    std::size_t server = path.find('\\', 2);
    if (server == std::string::npos) return path + "\\";
    std::size_t share = path.find('\\', server + 1);
    if (share == std::string::npos) return path + "\\";
    return path.substr(0, share + 1);
  }
  return {};
}

std::string ParentOf(const std::string& fullPath) {
  std::string root = RootOf(fullPath);
  std::size_t slash = fullPath.find_last_of('\\');
  if (slash == std::string::npos || slash + 1 <= root.size()) return root;
  return fullPath.substr(0, slash);
}

// Without a trailing backslash, except at a root.
std::string Trimmed(const std::string& fullPath) {
  std::string root = RootOf(fullPath);
  std::string path = fullPath;
  while (path.size() > root.size() && path.back() == '\\') path.pop_back();
  return path;
}

const char* ModeName(os::OpenMode mode) {
  switch (mode) {
    case os::OpenMode::kReadShareAll: return "ReadShareAll";
    case os::OpenMode::kReadShareRead: return "ReadShareRead";
    case os::OpenMode::kReadWriteExisting: return "ReadWriteExisting";
    case os::OpenMode::kCreateAlways: return "CreateAlways";
    case os::OpenMode::kCreateNew: return "CreateNew";
    case os::OpenMode::kAppendShareAll: return "AppendShareAll";
  }
  return "?";
}

}  // namespace

std::string Fold(const std::string& text) {
  std::string folded = text;
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

// ---------------------------------------------------------------------------------------------
// CallLog

std::string Call::Line() const {
  std::string line = op;
  if (!subject.empty()) line += " " + subject;
  if (!detail.empty()) line += " " + detail;
  if (failed) line += " [failed]";
  return line;
}

std::vector<std::string> CallLog::Lines() const {
  std::vector<std::string> lines;
  for (const Call& call : calls_) lines.push_back(call.Line());
  return lines;
}

std::vector<std::string> CallLog::LinesOf(const std::string& op) const {
  std::vector<std::string> lines;
  for (const Call& call : calls_)
    if (call.op == op) lines.push_back(call.Line());
  return lines;
}

int CallLog::Count(const std::string& op) const {
  auto found = counts_.find(op);
  return found == counts_.end() ? 0 : found->second;
}

int CallLog::IndexOf(const std::string& linePrefix) const {
  for (std::size_t i = 0; i < calls_.size(); ++i)
    if (StartsWith(calls_[i].Line(), linePrefix)) return static_cast<int>(i);
  return -1;
}

std::string CallLog::Dump() const {
  std::ostringstream out;
  for (std::size_t i = 0; i < calls_.size(); ++i) out << i << ": " << calls_[i].Line() << "\n";
  return out.str();
}

namespace {

// What a refused call of each kind says when its rule names no code.
os::ErrorCode DefaultCodeFor(const std::string& op) {
  if (op == "Write") return kErrorDiskFull;
  if (op == "Read") return kErrorReadFault;
  return kErrorAccessDenied;
}

}  // namespace

bool CallLog::Record(const std::string& op, const std::string& subject, const std::string& detail) {
  Call call{op, subject, detail, ++counts_[op], false};
  for (const auto& [rule, code] : rules_) {
    if (rule(call)) {
      call.failed = true;
      call.code = code ? code : DefaultCodeFor(op);
      break;
    }
  }
  calls_.push_back(call);
  return !call.failed;
}

void CallLog::MarkLastFailed(os::ErrorCode code) {
  if (calls_.empty()) return;
  calls_.back().failed = true;
  calls_.back().code = code ? code : DefaultCodeFor(calls_.back().op);
}

os::ErrorCode CallLog::LastCode() const { return calls_.empty() ? 0 : calls_.back().code; }

bool Recorder::Note(const std::string& op, const std::string& subject, const std::string& detail) {
  if (log_->Record(op, subject, detail)) return true;
  code_ = log_->LastCode();
  return false;
}

void Recorder::MarkFailed(os::ErrorCode code) {
  log_->MarkLastFailed(code);
  code_ = log_->LastCode();
}

// ---------------------------------------------------------------------------------------------
// Files

struct OpenRecord {
  int id;
  bool read, write, shareRead, shareWrite;
};

struct FileNode {
  std::string path;  // as first given, resolved
  bool folder = false;
  uint32_t attributes = 0;
  std::string bytes;
  std::vector<OpenRecord> opens;
};

struct FsState {
  std::map<std::string, std::shared_ptr<FileNode>> nodes;  // folded trimmed path -> node
  std::optional<uint64_t> freeSpace;
  int nextOpenId = 1;
};

namespace {

OpenRecord RecordFor(os::OpenMode mode, int id) {
  switch (mode) {
    case os::OpenMode::kReadShareAll: return {id, true, false, true, true};
    case os::OpenMode::kReadShareRead: return {id, true, false, true, false};
    case os::OpenMode::kReadWriteExisting:
    case os::OpenMode::kCreateAlways:
    case os::OpenMode::kCreateNew: return {id, true, true, false, false};
    case os::OpenMode::kAppendShareAll: return {id, false, true, true, true};
  }
  return {id, true, false, true, true};
}

bool Conflicts(const OpenRecord& a, const OpenRecord& b) {
  return (a.read && !b.shareRead) || (a.write && !b.shareWrite) || (b.read && !a.shareRead) ||
         (b.write && !a.shareWrite);
}

bool CanOpen(const FileNode& node, const OpenRecord& wanted) {
  for (const OpenRecord& existing : node.opens)
    if (Conflicts(existing, wanted)) return false;
  return true;
}

class FakeFile : public os::File, private Recorder {
 public:
  FakeFile(std::shared_ptr<CallLog> log, std::shared_ptr<FsState> state,
           std::shared_ptr<FileNode> node, OpenRecord record, bool append)
      : Recorder(std::move(log)),
        state_(std::move(state)),
        node_(std::move(node)),
        record_(record),
        append_(append) {
    node_->opens.push_back(record_);
  }
  ~FakeFile() override {
    auto& opens = node_->opens;
    opens.erase(std::remove_if(opens.begin(), opens.end(),
                               [this](const OpenRecord& r) { return r.id == record_.id; }),
                opens.end());
    Note("CloseFile", node_->path);
  }

  int64_t Size() noexcept override {
    if (!Note("Size", node_->path)) return -1;
    return static_cast<int64_t>(node_->bytes.size());
  }

  bool Seek(int64_t position) noexcept override {
    if (!Note("Seek", node_->path, std::to_string(position))) return false;
    if (position < 0) return Failed();
    position_ = position;
    return true;
  }

  int64_t Position() noexcept override {
    if (!Note("Position", node_->path)) return -1;
    return position_;
  }

  bool Read(void* buffer, uint32_t count, uint32_t& delivered) noexcept override {
    delivered = 0;
    if (!Note("Read", node_->path, std::to_string(count))) return false;
    if (!record_.read) return Failed();
    const auto size = static_cast<int64_t>(node_->bytes.size());
    if (position_ >= size) return true;
    const auto available = static_cast<uint64_t>(size - position_);
    delivered = static_cast<uint32_t>(std::min<uint64_t>(count, available));
    std::copy_n(node_->bytes.data() + position_, delivered, static_cast<char*>(buffer));
    position_ += delivered;
    return true;
  }

  bool Write(const void* buffer, uint32_t count, uint32_t& written) noexcept override {
    written = 0;
    if (!Note("Write", node_->path, std::to_string(count))) return false;
    if (!record_.write) return Failed();
    if (append_) position_ = static_cast<int64_t>(node_->bytes.size());
    const uint64_t size = node_->bytes.size();
    const auto position = static_cast<uint64_t>(position_);
    uint64_t fits = count;
    if (state_->freeSpace) {
      const uint64_t overwrite = size > position ? size - position : 0;
      fits = std::min<uint64_t>(count, overwrite + *state_->freeSpace);
    }
    const uint64_t end = position + fits;
    if (fits > 0 && end > size) {
      if (state_->freeSpace) *state_->freeSpace -= end - std::max(size, position);
      node_->bytes.resize(end, '\0');
    }
    std::copy_n(static_cast<const char*>(buffer), fits, node_->bytes.begin() + position_);
    written = static_cast<uint32_t>(fits);
    position_ += static_cast<int64_t>(fits);
    if (fits < count) return Failed(kErrorDiskFull);
    return true;
  }

  os::ErrorCode LastError() const override { return Code(); }

 private:
  bool Failed(os::ErrorCode code = 0) {
    MarkFailed(code);
    return false;
  }

  std::shared_ptr<FsState> state_;
  std::shared_ptr<FileNode> node_;
  OpenRecord record_;
  bool append_;
  int64_t position_ = 0;
};

}  // namespace

FakeFiles::FakeFiles(std::shared_ptr<CallLog> log)
    : Recorder(std::move(log)), state_(std::make_shared<FsState>()) {
  AddFolder("C:\\");
}

FakeFiles::~FakeFiles() = default;

std::string FakeFiles::Resolve(const std::string& given) const {
  if (given.empty()) return {};
  std::string path = given;
  std::replace(path.begin(), path.end(), '/', '\\');
  std::string root = RootOf(path);
  std::string rest;
  if (!root.empty()) {
    rest = path.substr(root.size());
  } else if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
    // "D:name" is relative to the current folder of that drive; we keep one current folder.
    const bool sameDrive = Fold(path.substr(0, 1)) == Fold(currentFolder_.substr(0, 1));
    root = sameDrive ? RootOf(currentFolder_) : path.substr(0, 2) + "\\";
    rest = (sameDrive ? currentFolder_.substr(root.size()) + "\\" : std::string()) + path.substr(2);
  } else if (path[0] == '\\') {
    root = RootOf(currentFolder_);
    rest = path;
  } else {
    root = RootOf(currentFolder_);
    rest = currentFolder_.substr(root.size()) + "\\" + path;
  }
  std::vector<std::string> parts;
  for (const std::string& part : SplitPath(rest)) {
    if (part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string full = root;
  for (std::size_t i = 0; i < parts.size(); ++i) full += (i ? "\\" : "") + parts[i];
  if (!parts.empty() && path.back() == '\\') full += "\\";
  return full;
}

std::shared_ptr<FileNode> FakeFiles::Find(const std::string& fullPath) const {
  if (fullPath.empty()) return nullptr;
  auto found = state_->nodes.find(Fold(Trimmed(fullPath)));
  return found == state_->nodes.end() ? nullptr : found->second;
}

bool FakeFiles::ParentIsFolder(const std::string& fullPath) const {
  const std::string trimmed = Trimmed(fullPath);
  const std::string parent = ParentOf(trimmed);
  if (parent == trimmed) return false;  // a root has no parent
  auto node = Find(parent);
  return node && node->folder;
}

std::shared_ptr<FileNode> FakeFiles::MakeNode(const std::string& fullPath, bool folder) {
  auto node = std::make_shared<FileNode>();
  node->path = Trimmed(fullPath);
  node->folder = folder;
  node->attributes = folder ? os::kAttributeDirectory : kAttributeArchive;
  state_->nodes[Fold(node->path)] = node;
  return node;
}

bool FakeFiles::Fail(os::ErrorCode code) {
  MarkFailed(code);
  return false;
}

void FakeFiles::AddFolder(const std::string& path) {
  const std::string full = Trimmed(Resolve(path));
  if (full.empty()) return;
  const std::string parent = ParentOf(full);
  if (parent != full && !Find(parent)) AddFolder(parent);
  auto node = Find(full);
  if (!node) MakeNode(full, true);
}

void FakeFiles::AddFile(const std::string& path, const std::string& bytes) {
  const std::string full = Trimmed(Resolve(path));
  AddFolder(ParentOf(full));
  auto node = Find(full);
  if (!node) node = MakeNode(full, false);
  node->folder = false;
  node->attributes = kAttributeArchive;
  node->bytes = bytes;
}

void FakeFiles::SetAttributesOf(const std::string& path, uint32_t attributes) {
  if (auto node = Find(Resolve(path))) node->attributes = attributes;
}

void FakeFiles::SetCurrentFolder(const std::string& path) { currentFolder_ = Trimmed(Resolve(path)); }

void FakeFiles::SetShortPath(const std::string& longPath, const std::string& shortPath) {
  shortPaths_[Fold(Trimmed(Resolve(longPath)))] = shortPath;
}

void FakeFiles::SetFreeSpace(std::optional<uint64_t> bytes) { state_->freeSpace = bytes; }

bool FakeFiles::HasFile(const std::string& path) const {
  auto node = Find(Resolve(path));
  return node && !node->folder;
}

bool FakeFiles::HasFolder(const std::string& path) const {
  auto node = Find(Resolve(path));
  return node && node->folder;
}

std::optional<std::string> FakeFiles::Content(const std::string& path) const {
  auto node = Find(Resolve(path));
  if (!node || node->folder) return std::nullopt;
  return node->bytes;
}

std::vector<std::string> FakeFiles::Entries() const {
  std::vector<std::string> entries;
  for (const auto& [key, node] : state_->nodes) entries.push_back(node->path);
  std::sort(entries.begin(), entries.end());
  return entries;
}

int FakeFiles::OpenHandles(const std::string& path) const {
  auto node = Find(Resolve(path));
  return node ? static_cast<int>(node->opens.size()) : 0;
}

std::unique_ptr<os::File> FakeFiles::Open(const std::string& path, os::OpenMode mode) noexcept {
  if (!Note("OpenFile", path, ModeName(mode))) return nullptr;
  const std::string full = Resolve(path);
  if (full.empty() || full.back() == '\\') return Fail(kErrorPathNotFound), nullptr;
  auto node = Find(full);
  OpenRecord record = RecordFor(mode, state_->nextOpenId++);
  if (node && node->folder) return Fail(kErrorAccessDenied), nullptr;
  if (node && !CanOpen(*node, record)) return Fail(kErrorSharingViolation), nullptr;
  if (mode == os::OpenMode::kCreateNew && node) return Fail(kErrorFileExists), nullptr;
  const bool append = mode == os::OpenMode::kAppendShareAll;
  if (mode == os::OpenMode::kCreateAlways || mode == os::OpenMode::kCreateNew || append) {
    if (!node) {
      if (!ParentIsFolder(full)) return Fail(kErrorPathNotFound), nullptr;
      node = MakeNode(full, false);
    }
    if (!append) node->bytes.clear();
  }
  if (!node) return Fail(ParentIsFolder(full) ? kErrorFileNotFound : kErrorPathNotFound), nullptr;
  return std::make_unique<FakeFile>(log_, state_, node, record, append);
}

bool FakeFiles::DeleteFileAt(const std::string& path) noexcept {
  if (!Note("DeleteFile", path)) return false;
  auto node = Find(Resolve(path));
  if (!node) return Fail(kErrorFileNotFound);
  if (node->folder) return Fail(kErrorAccessDenied);
  if (!node->opens.empty()) return Fail(kErrorSharingViolation);
  state_->nodes.erase(Fold(node->path));
  return true;
}

bool FakeFiles::CreateFolder(const std::string& path) noexcept {
  if (!Note("CreateFolder", path)) return false;
  const std::string full = Resolve(path);
  if (full.empty() || !ParentIsFolder(full)) return Fail(kErrorPathNotFound);
  if (Find(full)) return Fail(kErrorAlreadyExists);
  MakeNode(full, true);
  return true;
}

bool FakeFiles::CreatePrivateFolder(const std::string& path) noexcept {
  if (!Note("CreatePrivateFolder", path)) return false;
  const std::string full = Resolve(path);
  if (full.empty() || Find(full) || !ParentIsFolder(full)) return Fail();
  MakeNode(full, true);
  privateFolders_.push_back(Fold(full));
  return true;
}

bool FakeFiles::IsPrivateFolder(const std::string& path) const {
  const std::string full = Fold(Resolve(path));
  return HasFolder(path) && std::find(privateFolders_.begin(), privateFolders_.end(), full) != privateFolders_.end();
}

bool FakeFiles::RemoveFolder(const std::string& path) noexcept {
  if (!Note("RemoveFolder", path)) return false;
  auto node = Find(Resolve(path));
  if (!node || !node->folder || RootOf(node->path) == node->path) return Fail();
  const std::string prefix = Fold(node->path) + "\\";
  for (const auto& [key, other] : state_->nodes)
    if (StartsWith(key, prefix)) return Fail();
  state_->nodes.erase(Fold(node->path));
  return true;
}

uint32_t FakeFiles::Attributes(const std::string& path) noexcept {
  if (!Note("Attributes", path)) return os::kInvalidAttributes;
  auto node = Find(Resolve(path));
  if (!node) return Fail(), os::kInvalidAttributes;
  return node->attributes;
}

bool FakeFiles::FileExists(const std::string& path) noexcept {
  if (!Note("FileExists", path)) return false;
  auto node = Find(Resolve(path));
  return node && !node->folder;
}

bool FakeFiles::CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) noexcept {
  if (!Note("CopyFile", from, "-> " + to)) return false;
  auto source = Find(Resolve(from));
  if (!source || source->folder) return Fail();
  if (!CanOpen(*source, OpenRecord{0, true, false, true, false})) return Fail();
  const std::string full = Resolve(to);
  if (full.empty() || !ParentIsFolder(full)) return Fail();
  auto target = Find(full);
  if (target && (failIfExists || target->folder || !target->opens.empty())) return Fail();
  if (!target) target = MakeNode(full, false);
  target->bytes = source->bytes;
  target->attributes = source->attributes;
  return true;
}

bool FakeFiles::RenameFile(const std::string& from, const std::string& to) noexcept {
  if (!Note("RenameFile", from, "-> " + to)) return false;
  auto node = Find(Resolve(from));
  if (!node || node->folder || !node->opens.empty()) return Fail();
  const std::string full = Resolve(to);
  if (full.empty() || !ParentIsFolder(full) || Find(full)) return Fail();
  state_->nodes.erase(Fold(node->path));
  node->path = Trimmed(full);
  state_->nodes[Fold(node->path)] = node;
  return true;
}

bool FakeFiles::MoveOver(const std::string& from, const std::string& to) noexcept {
  if (!Note("MoveOver", from, "-> " + to)) return false;
  auto node = Find(Resolve(from));
  auto over = Find(Resolve(to));
  if (!node || node->folder || !node->opens.empty()) return Fail();
  if (over && (over->folder || !over->opens.empty())) return Fail();
  const std::string full = Resolve(to);
  if (full.empty() || !ParentIsFolder(full)) return Fail();
  if (over) state_->nodes.erase(Fold(over->path));
  state_->nodes.erase(Fold(node->path));
  node->path = Trimmed(full);
  state_->nodes[Fold(node->path)] = node;
  return true;
}

bool FakeFiles::DeleteAtReboot(const std::string& path) noexcept {
  if (!Note("DeleteAtReboot", path)) return false;
  rebootDeletions_.push_back(path);
  return true;
}

std::string FakeFiles::FullPathName(const std::string& path) noexcept {
  if (!Note("FullPathName", path)) return {};
  std::string full = Resolve(path);
  if (full.empty()) Fail();
  return full;
}

std::string FakeFiles::ShortPathName(const std::string& path) noexcept {
  if (!Note("ShortPathName", path)) return {};
  // Like GetShortPathNameA: only for something that exists.
  const std::string full = Resolve(path);
  auto node = Find(full);
  if (!node) {
    // A short form names its long path's file or folder as well.
    for (const auto& [longPath, shortPath] : shortPaths_)
      if (Fold(Trimmed(Resolve(shortPath))) == Fold(Trimmed(full))) return path;
    return Fail(), std::string();
  }
  auto mapped = shortPaths_.find(Fold(Trimmed(full)));
  return mapped == shortPaths_.end() ? path : mapped->second;
}

std::string FakeFiles::LongPathName(const std::string& path) noexcept {
  if (!Note("LongPathName", path)) return {};
  const std::string full = Resolve(path);
  for (const auto& [longPath, shortPath] : shortPaths_)
    if (Fold(Trimmed(Resolve(shortPath))) == Fold(Trimmed(full))) return longPath;
  if (!Find(full)) return Fail(), std::string();
  return path;
}

std::string FakeFiles::TempPath() noexcept {
  if (!Note("TempPath", "")) return {};
  if (tempPath_.empty()) Fail();
  return tempPath_;
}

std::string FakeFiles::WindowsDirectory() noexcept {
  if (!Note("WindowsDirectory", "")) return {};
  return windowsDirectory_;
}

std::string FakeFiles::SystemDirectory() noexcept {
  if (!Note("SystemDirectory", "")) return {};
  return systemDirectory_;
}

std::string FakeFiles::SystemWow64Directory() noexcept {
  if (!Note("SystemWow64Directory", "")) return {};
  return systemWow64Directory_;
}

// ---------------------------------------------------------------------------------------------
// Registry

struct KeyNode {
  std::string name;
  bool deleted = false;
  std::vector<std::pair<std::string, os::RegValue>> values;  // in creation order
  std::map<std::string, std::shared_ptr<KeyNode>> subkeys;   // folded name -> key
};

namespace {

std::pair<std::string, os::RegValue>* FindValue(KeyNode& key, const std::string& name) {
  for (auto& entry : key.values)
    if (Fold(entry.first) == Fold(name)) return &entry;
  return nullptr;
}

void PutValue(KeyNode& key, const std::string& name, const os::RegValue& value) {
  if (auto* entry = FindValue(key, name))
    entry->second = value;
  else
    key.values.emplace_back(name, value);
}

os::RegValue StringData(const std::string& value) {
  return os::RegValue{os::kRegSz, value + std::string(1, '\0')};
}

class FakeRegKey : public os::RegKey, private Recorder {
 public:
  FakeRegKey(std::shared_ptr<CallLog> log, std::shared_ptr<KeyNode> node, std::string subject)
      : Recorder(std::move(log)), node_(std::move(node)), subject_(std::move(subject)) {}
  ~FakeRegKey() override { Note("RegCloseKey", subject_); }

  bool SetString(const std::string& name, const std::string& value) noexcept override {
    if (!Note("RegSetValue", ValuePath(name), "\"" + value + "\"")) return false;
    if (node_->deleted) return Failed();
    PutValue(*node_, name, StringData(value));
    return true;
  }

  bool SetDword(const std::string& name, uint32_t value) noexcept override {
    if (!Note("RegSetValue", ValuePath(name), std::to_string(value))) return false;
    if (node_->deleted) return Failed();
    std::string data;
    for (int i = 0; i < 4; ++i) data += char((value >> (8 * i)) & 0xFF);
    PutValue(*node_, name, os::RegValue{os::kRegDword, data});
    return true;
  }

  std::optional<os::RegValue> Query(const std::string& name) noexcept override {
    if (!Note("RegQueryValue", ValuePath(name))) return std::nullopt;
    auto* entry = node_->deleted ? nullptr : FindValue(*node_, name);
    if (!entry) return Failed(kErrorFileNotFound), std::nullopt;
    return entry->second;
  }

  std::optional<std::vector<std::string>> ValueNames() noexcept override {
    if (!Note("RegEnumValues", subject_)) return std::nullopt;
    if (node_->deleted) return Failed(), std::nullopt;
    std::vector<std::string> names;
    for (const auto& entry : node_->values) names.push_back(entry.first);
    return names;
  }

  bool DeleteValue(const std::string& name) noexcept override {
    if (!Note("RegDeleteValue", ValuePath(name))) return false;
    auto& values = node_->values;
    auto found = std::find_if(values.begin(), values.end(),
                              [&](const auto& entry) { return Fold(entry.first) == Fold(name); });
    if (node_->deleted || found == values.end()) return Failed();
    values.erase(found);
    return true;
  }

  std::optional<uint32_t> SubkeyCount() noexcept override {
    if (!Note("RegSubkeyCount", subject_)) return std::nullopt;
    if (node_->deleted) return Failed(), std::nullopt;
    return static_cast<uint32_t>(node_->subkeys.size());
  }

  std::optional<std::string> SubkeyName(uint32_t index) noexcept override {
    if (!Note("RegSubkeyName", subject_, std::to_string(index))) return std::nullopt;
    if (node_->deleted || index >= node_->subkeys.size()) return Failed(), std::nullopt;
    auto it = node_->subkeys.begin();
    std::advance(it, index);
    return it->second->name;
  }

  os::ErrorCode LastError() const override { return Code(); }

 private:
  std::string ValuePath(const std::string& name) const {
    return subject_ + (subject_.back() == '\\' ? "" : "\\") + name;
  }
  bool Failed(os::ErrorCode code = 0) {
    MarkFailed(code);
    return false;
  }

  std::shared_ptr<KeyNode> node_;
  std::string subject_;
};

}  // namespace

FakeRegistry::FakeRegistry(std::shared_ptr<CallLog> log)
    : Recorder(std::move(log)),
      currentUser_(std::make_shared<KeyNode>()),
      localMachine_(std::make_shared<KeyNode>()) {}

FakeRegistry::~FakeRegistry() = default;

std::shared_ptr<KeyNode> FakeRegistry::Find(os::RegRoot root, const std::string& path) const {
  if (!path.empty() && path[0] == '\\') return nullptr;  // the API refuses a leading backslash
  auto node = root == os::RegRoot::kCurrentUser ? currentUser_ : localMachine_;
  for (const std::string& part : SplitPath(path)) {
    auto found = node->subkeys.find(Fold(part));
    if (found == node->subkeys.end()) return nullptr;
    node = found->second;
  }
  return node;
}

std::shared_ptr<KeyNode> FakeRegistry::Make(os::RegRoot root, const std::string& path) {
  if (!path.empty() && path[0] == '\\') return nullptr;
  auto node = root == os::RegRoot::kCurrentUser ? currentUser_ : localMachine_;
  for (const std::string& part : SplitPath(path)) {
    auto& child = node->subkeys[Fold(part)];
    if (!child) {
      child = std::make_shared<KeyNode>();
      child->name = part;
    }
    node = child;
  }
  return node;
}

void FakeRegistry::SetString(os::RegRoot root, const std::string& path, const std::string& name,
                             const std::string& value) {
  SetValue(root, path, name, StringData(value));
}

void FakeRegistry::SetValue(os::RegRoot root, const std::string& path, const std::string& name,
                            const os::RegValue& value) {
  if (auto node = Make(root, path)) PutValue(*node, name, value);
}

bool FakeRegistry::HasKey(os::RegRoot root, const std::string& path) const {
  return Find(root, path) != nullptr;
}

std::optional<os::RegValue> FakeRegistry::Value(os::RegRoot root, const std::string& path,
                                                const std::string& name) const {
  auto node = Find(root, path);
  if (!node) return std::nullopt;
  auto* entry = FindValue(*node, name);
  if (!entry) return std::nullopt;
  return entry->second;
}

std::optional<std::string> FakeRegistry::StringValue(os::RegRoot root, const std::string& path,
                                                     const std::string& name) const {
  auto value = Value(root, path, name);
  if (!value) return std::nullopt;
  return value->data.substr(0, value->data.find('\0'));
}

std::vector<std::string> FakeRegistry::KeyPaths(os::RegRoot root) const {
  std::vector<std::string> paths;
  std::function<void(const KeyNode&, const std::string&)> walk = [&](const KeyNode& node,
                                                                     const std::string& prefix) {
    for (const auto& [folded, child] : node.subkeys) {
      std::string path = prefix.empty() ? child->name : prefix + "\\" + child->name;
      paths.push_back(path);
      walk(*child, path);
    }
  };
  walk(root == os::RegRoot::kCurrentUser ? *currentUser_ : *localMachine_, "");
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::unique_ptr<os::RegKey> FakeRegistry::OpenKey(os::RegRoot root, const std::string& path) noexcept {
  const std::string subject = std::string(os::RootName(root)) + "\\" + path;
  if (!Note("RegOpenKey", subject)) return nullptr;
  auto node = Find(root, path);
  if (!node) return MarkFailed(kErrorFileNotFound), nullptr;
  return std::make_unique<FakeRegKey>(log_, node, subject);
}

std::unique_ptr<os::RegKey> FakeRegistry::CreateKey(os::RegRoot root, const std::string& path) noexcept {
  const std::string subject = std::string(os::RootName(root)) + "\\" + path;
  if (!Note("RegCreateKey", subject)) return nullptr;
  auto node = Make(root, path);
  if (!node) return MarkFailed(), nullptr;
  return std::make_unique<FakeRegKey>(log_, node, subject);
}

bool FakeRegistry::DeleteKey(os::RegRoot root, const std::string& path) noexcept {
  if (!Note("RegDeleteKey", std::string(os::RootName(root)) + "\\" + path)) return false;
  std::vector<std::string> parts = SplitPath(path);
  auto node = Find(root, path);
  if (!parts.empty() && !node) return MarkFailed(kErrorFileNotFound), false;
  if (parts.empty() || !node->subkeys.empty()) return MarkFailed(), false;
  std::string parentPath;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) parentPath += (i ? "\\" : "") + parts[i];
  auto parent = Find(root, parentPath);
  node->deleted = true;
  parent->subkeys.erase(Fold(parts.back()));
  return true;
}

// ---------------------------------------------------------------------------------------------
// Shell

FakeShell::FakeShell(std::shared_ptr<CallLog> log, FakeFiles& files)
    : Recorder(std::move(log)), files_(files) {}

std::optional<os::ShellLink> FakeShell::LinkAt(const std::string& path) const {
  auto found = links_.find(Fold(files_.Resolve(path)));
  if (found == links_.end() || !files_.HasFile(path)) return std::nullopt;
  return found->second;
}

intptr_t FakeShell::Execute(os::WindowRef owner, const std::string& verb, const std::string& file,
                            const std::string& parameters, const std::string& directory, int show) noexcept {
  const std::string detail = "verb=" + verb + " params=" + parameters + " dir=" + directory +
                             " show=" + std::to_string(show);
  if (!Note("ShellExecute", file, detail)) return kSeErrFileNotFound;
  Execution execution{owner, verb, file, parameters, directory, show};
  executions_.push_back(execution);
  if (onExecute) onExecute(execution);
  return executeResult_;
}

std::optional<std::string> FakeShell::SpecialFolder(os::WindowRef, int csidl) noexcept {
  if (!Note("SpecialFolder", std::to_string(csidl))) return std::nullopt;
  auto found = folders_.find(csidl);
  if (found == folders_.end() || !found->second) return MarkFailed(), std::nullopt;
  return found->second;
}

int32_t FakeShell::SaveLink(const os::ShellLink& link, const std::string& linkPath) noexcept {
  if (!Note("SaveLink", linkPath, link.target)) return kEFail;
  if (linkPath.size() >= kMaxPath) return MarkFailed(), kEInvalidArg;
  const std::string full = files_.Resolve(linkPath);
  if (full.empty()) return MarkFailed(), kEInvalidArg;
  const std::string parent = ParentOf(Trimmed(full));
  if (!files_.HasFolder(parent)) return MarkFailed(), kEPathNotFound;
  if (files_.HasFolder(full) || files_.OpenHandles(full) > 0)
    return MarkFailed(), kEAccessDenied;
  files_.AddFile(full, "LNK " + link.target);
  links_[Fold(full)] = link;
  return 0;
}

std::optional<std::string> FakeShell::BrowseForFolder(os::WindowRef owner,
                                                      const std::string& instruction,
                                                      const std::string& startFolder) noexcept {
  if (!Note("BrowseForFolder", startFolder)) return std::nullopt;
  browseRequests_.push_back(BrowseRequest{owner, instruction, startFolder});
  if (browseAnswers_.empty()) return std::nullopt;
  auto answer = browseAnswers_.front();
  browseAnswers_.erase(browseAnswers_.begin());
  return answer;
}

// ---------------------------------------------------------------------------------------------
// System

FakeSystem::FakeSystem(std::shared_ptr<CallLog> log) : Recorder(std::move(log)) {}

bool FakeSystem::RestrictDllSearchToSystemFolder() noexcept {
  if (!Note("RestrictDllSearch", "")) return false;
  if (!hasDefaultDllDirectories) MarkFailed();
  return hasDefaultDllDirectories;
}

bool FakeSystem::RemoveCurrentFolderFromDllSearch() noexcept { return Note("SetDllDirectory", ""); }

bool FakeSystem::LoadSystemLibrary(const std::string& fileName) noexcept {
  return Note("LoadSystemLibrary", fileName);
}

std::string FakeSystem::CommandLine() noexcept {
  if (!Note("CommandLine", "")) return {};
  return commandLine_;
}

std::string FakeSystem::ModulePath() noexcept {
  if (!Note("ModulePath", "")) return {};
  return modulePath_;
}

bool FakeSystem::ClaimForThisRun(const std::string& name) noexcept {
  if (!Note("ClaimForThisRun", name)) return false;
  for (const std::string& taken : claimedElsewhere)
    if (taken == name) return MarkFailed(kErrorAlreadyExists), false;
  claimedElsewhere.push_back(name);  // a second run of ours would find it taken
  return true;
}

bool FakeSystem::RunsAsLocalSystem() noexcept {
  if (!Note("RunsAsLocalSystem", "")) return false;
  return localSystem;
}

std::optional<os::VersionInfo> FakeSystem::Version() noexcept {
  if (!Note("Version", "")) return std::nullopt;
  if (!version_) MarkFailed();
  return version_;
}

int FakeSystem::ShowMessage(os::WindowRef owner, const std::string& text, const std::string& caption,
                            unsigned flags) noexcept {
  if (!Note("ShowMessage", caption, text)) return 0;
  Message message{owner, text, caption, flags};
  messages_.push_back(message);
  if (onShowMessage) onShowMessage(message);
  if (!answers_.empty()) {
    int answer = answers_.front();
    answers_.erase(answers_.begin());
    return answer;
  }
  return (flags & 0xF) == os::kMbYesNo ? defaultYesNoAnswer : 1;
}

void FakeSystem::Sleep(uint32_t milliseconds) noexcept {
  Note("Sleep", std::to_string(milliseconds));
  slept_ += milliseconds;
  ++sleeps_;
  if (onSleep) onSleep(slept_);
}

bool FakeSystem::RandomBytes(void* buffer, std::size_t count) noexcept {
  if (!Note("RandomBytes", std::to_string(count))) return false;
  auto* bytes = static_cast<uint8_t*>(buffer);
  for (std::size_t i = 0; i < count; ++i) {
    if (!randomQueue_.empty()) {
      bytes[i] = static_cast<uint8_t>(randomQueue_[0]);
      randomQueue_.erase(0, 1);
    } else {
      bytes[i] = ++randomCounter_;
    }
  }
  return true;
}

os::LocalTime FakeSystem::Now() noexcept {
  Note("Now", "");
  return now;
}

std::string FakeSystem::UserName() noexcept {
  if (!Note("UserName", "")) return {};
  return userName;
}

std::optional<bool> FakeSystem::RunsElevated() noexcept {
  if (!Note("RunsElevated", "")) return std::nullopt;
  return elevated;
}

std::string FakeSystem::ErrorText(os::ErrorCode code) noexcept {
  Note("ErrorText", std::to_string(code));
  return "System text for " + std::to_string(code);
}

// ---------------------------------------------------------------------------------------------

FakeOs::FakeOs()
    : sharedLog(std::make_shared<CallLog>()),
      log(*sharedLog),
      files(sharedLog),
      registry(sharedLog),
      shell(sharedLog, files),
      system(sharedLog) {
  files.AddFolder("C:\\windows\\temp");
  files.AddFolder(kFakeDesktop);
  files.AddFolder(kFakePrograms);
  files.AddFolder(kFakeProgramFiles);
  files.AddFolder(kFakeCommonDesktop);
  files.AddFolder(kFakeCommonPrograms);
  shell.SetSpecialFolder(os::kCsidlCommonDesktop, std::string(kFakeCommonDesktop));
  shell.SetSpecialFolder(os::kCsidlCommonPrograms, std::string(kFakeCommonPrograms));
  shell.SetSpecialFolder(os::kCsidlDesktop, std::string(kFakeDesktop));
  shell.SetSpecialFolder(os::kCsidlPrograms, std::string(kFakePrograms));
  shell.SetSpecialFolder(os::kCsidlProgramFiles, std::string(kFakeProgramFiles));
}

void FakeOs::FailOn(const std::string& op, const std::string& subjectPart, os::ErrorCode code) {
  const std::string part = Fold(subjectPart);
  log.FailWhen(
      [op, part](const Call& call) {
        return call.op == op && Fold(call.subject).find(part) != std::string::npos;
      },
      code);
}

void FakeOs::FailNth(const std::string& op, int n, os::ErrorCode code) {
  log.FailWhen([op, n](const Call& call) { return call.op == op && call.ordinal == n; }, code);
}

}  // namespace fake
