#include "settings/core/store.h"

#include "base/core/text.h"

namespace iv::settings {

std::string KeyPath(std::string_view root, std::string_view app, std::string_view section) {
  std::string path;
  for (std::string_view part : {root, app, section}) {
    if (part.empty()) continue;
    if (!path.empty()) path += '\\';
    path += part;
  }
  return path;
}

std::string Store::GetRegValue(std::string_view app, std::string_view section, std::string_view name,
                               std::string_view def, Hive hive, std::string_view root) const {
  const auto raw = backend_.Read(hive, KeyPath(root, app, section), std::string(name));
  if (!raw) return std::string(def);
  switch (raw->kind) {
    case RawValue::Kind::Text: return raw->text;
    case RawValue::Kind::Number: return std::to_string(raw->number);
    case RawValue::Kind::Other: break;
  }
  return std::string(def);
}

bool Store::SetRegValue(std::string_view app, std::string_view section, std::string_view name,
                        std::string_view value, Hive hive, std::string_view root, uint32_t /*type*/) {
  // Only text is ever written; a refused write is not reported, callers carry on.
  (void)backend_.WriteText(hive, KeyPath(root, app, section), std::string(name), std::string(value));
  return true;
}

bool Store::DeleteRegSection(std::string_view app, std::string_view section, Hive hive,
                             std::string_view root) {
  // A key with sub-keys stays; the caller is not told, as with the registry.
  (void)backend_.DeleteKey(hive, KeyPath(root, app, section));
  return true;
}

std::string MemoryBackend::Norm(Hive hive, const std::string& path) {
  return std::to_string(static_cast<uint32_t>(hive)) + ':' + ToLowerAscii(path);
}

MemoryBackend::Key& MemoryBackend::Create(Hive hive, const std::string& path) {
  // Every key along the path exists afterwards, as with RegCreateKeyEx.
  size_t at = 0;
  for (;;) {
    at = path.find('\\', at);
    if (at == std::string::npos) break;
    if (auto [key, added] = keys_.try_emplace(Norm(hive, path.substr(0, at))); added) key->second.lastWrite = ++clock_;
    ++at;
  }
  auto [key, added] = keys_.try_emplace(Norm(hive, path));
  if (added) key->second.lastWrite = ++clock_;
  return key->second;
}

std::optional<RawValue> MemoryBackend::Read(Hive hive, const std::string& path, const std::string& name) {
  const auto key = keys_.find(Norm(hive, path));
  if (key == keys_.end()) return std::nullopt;
  for (const auto& [n, v] : key->second.values)
    if (EqualsNoCase(n, name)) return v;
  return std::nullopt;
}

void MemoryBackend::WriteRaw(Hive hive, const std::string& path, const std::string& name, RawValue value) {
  ++writes_;
  Key& key = Create(hive, path);
  key.lastWrite = ++clock_;
  for (auto& [n, v] : key.values) {
    if (EqualsNoCase(n, name)) {
      v = std::move(value);
      return;
    }
  }
  key.values.emplace_back(name, std::move(value));
}

bool MemoryBackend::WriteText(Hive hive, const std::string& path, const std::string& name,
                              const std::string& value) {
  RawValue raw;
  raw.kind = RawValue::Kind::Text;
  raw.text = value;
  WriteRaw(hive, path, name, std::move(raw));
  return true;
}

bool MemoryBackend::DeleteKey(Hive hive, const std::string& path) {
  const std::string norm = Norm(hive, path);
  const auto key = keys_.find(norm);
  if (key == keys_.end()) return false;
  const auto next = std::next(key);
  if (next != keys_.end() && next->first.size() > norm.size() && next->first.compare(0, norm.size(), norm) == 0 &&
      next->first[norm.size()] == '\\')
    return false;
  keys_.erase(key);
  return true;
}

std::vector<std::pair<std::string, std::string>> MemoryBackend::Values(Hive hive, const std::string& path) {
  std::vector<std::pair<std::string, std::string>> out;
  const auto key = keys_.find(Norm(hive, path));
  if (key == keys_.end()) return out;
  for (const auto& [n, v] : key->second.values) {
    if (v.kind == RawValue::Kind::Text) out.emplace_back(n, v.text);
    else if (v.kind == RawValue::Kind::Number) out.emplace_back(n, std::to_string(v.number));
  }
  return out;
}

std::optional<KeyStamp> MemoryBackend::Stamp(Hive hive, const std::string& path) {
  const auto key = keys_.find(Norm(hive, path));
  if (key == keys_.end()) return std::nullopt;
  return KeyStamp{key->second.lastWrite, static_cast<uint32_t>(key->second.values.size())};
}

bool MemoryBackend::KeyExists(Hive hive, const std::string& path) const {
  return keys_.count(Norm(hive, path)) != 0;
}

}  // namespace iv::settings
