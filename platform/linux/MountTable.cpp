#include "platform/linux/MountTable.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>

namespace ravik::sys {
namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t end = std::min(line.find(' ', pos), line.size());
    if (end > pos) fields.push_back(line.substr(pos, end - pos));
    pos = end + 1;
  }
  return fields;
}

template <typename T>
bool ParseNumber(std::string_view text, T* value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return error == std::errc{} && end == text.data() + text.size();
}

// "id parent major:minor root mountpoint options [optional...] - fstype source superoptions"
std::optional<MountEntry> ParseLine(std::string_view line) {
  const std::vector<std::string_view> f = SplitFields(line);
  std::size_t dash = 6;
  while (dash < f.size() && f[dash] != "-") ++dash;
  if (dash + 2 >= f.size()) return std::nullopt;  // the separator and fstype, source after it

  MountEntry entry;
  const std::size_t colon = f[2].find(':');
  if (colon == std::string_view::npos || !ParseNumber(f[0], &entry.id) ||
      !ParseNumber(f[1], &entry.parentId) || !ParseNumber(f[2].substr(0, colon), &entry.major) ||
      !ParseNumber(f[2].substr(colon + 1), &entry.minor)) {
    return std::nullopt;
  }
  entry.root = DecodeMountField(f[3]);
  entry.mountPoint = DecodeMountField(f[4]);
  entry.fsType = DecodeMountField(f[dash + 1]);
  entry.source = DecodeMountField(f[dash + 2]);
  return entry;
}

}  // namespace

std::string DecodeMountField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
        isOctal(field[i + 2]) && isOctal(field[i + 3])) {
      const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
      out.push_back(static_cast<char>(value));
      i += 3;
    } else {
      out.push_back(field[i]);
    }
  }
  return out;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> entries;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    if (std::optional<MountEntry> entry = ParseLine(text.substr(pos, end - pos))) {
      entries.push_back(std::move(*entry));
    }
    pos = end + 1;
  }
  return entries;
}

std::vector<MountEntry> VisibleMounts(const std::vector<MountEntry>& entries) {
  // The last mount on a mount point covers the ones before it; whatever
  // hangs below a covered mount is out of reach too.
  std::map<std::string_view, std::size_t> top;
  std::map<int, std::size_t> byId;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    top[entries[i].mountPoint] = i;
    byId[entries[i].id] = i;
  }
  const auto below = [&](std::size_t i, std::size_t ancestor) {
    for (std::size_t steps = 0; steps <= entries.size(); ++steps) {
      const auto parent = byId.find(entries[i].parentId);
      if (parent == byId.end() || parent->second == i) return false;
      if (parent->second == ancestor) return true;
      i = parent->second;
    }
    return false;
  };
  const auto reachable = [&](std::size_t i) {
    if (top[entries[i].mountPoint] != i) return false;
    // A later mount on a folder above this one hides it, unless this one
    // was mounted on top of that later mount.
    for (std::size_t j = i + 1; j < entries.size(); ++j) {
      if (entries[j].mountPoint != entries[i].mountPoint &&
          IsPathWithin(entries[i].mountPoint, entries[j].mountPoint) && !below(i, j)) {
        return false;
      }
    }
    // Walk up the parents. A parent on the same mount point is the mount
    // this one covers; any other must itself be uncovered. The step count
    // guards against a cycle in a malformed table.
    for (std::size_t steps = 0; steps <= entries.size(); ++steps) {
      const auto parent = byId.find(entries[i].parentId);
      if (parent == byId.end() || parent->second == i) return true;
      const MountEntry& p = entries[parent->second];
      if (p.mountPoint != entries[i].mountPoint && top[p.mountPoint] != parent->second) {
        return false;
      }
      i = parent->second;
    }
    return false;
  };
  std::vector<MountEntry> visible;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (reachable(i)) visible.push_back(entries[i]);
  }
  return visible;
}

bool IsPathWithin(std::string_view path, std::string_view folder) {
  if (folder == "/") return !path.empty() && path.front() == '/';
  if (!path.starts_with(folder)) return false;
  return path.size() == folder.size() || path[folder.size()] == '/';
}

}  // namespace ravik::sys
