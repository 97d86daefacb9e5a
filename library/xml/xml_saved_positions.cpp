// Named positions kept in numbered hash maps.
#include <cstring>
#include <string>

#include "library/xml/xml_document.h"

namespace {

constexpr int kDefaultBuckets = 7;

std::size_t BucketOf(std::string_view name, std::size_t buckets) {
  std::size_t sum = 0;
  for (const char c : name) sum += static_cast<unsigned char>(c);
  return sum % buckets;
}

}  // namespace

bool CXmlDocument::SetPositionMapSize(int buckets, int map) {
  if (BoundToStream() || buckets < 1) return false;
  PositionMap& m = savedPositions_[map];
  std::vector<std::vector<SavedPosition>> rehashed(static_cast<std::size_t>(buckets));
  for (auto& bucket : m.buckets)
    for (auto& entry : bucket) rehashed[BucketOf(entry.name, rehashed.size())].push_back(std::move(entry));
  m.buckets.swap(rehashed);
  return true;
}

bool CXmlDocument::StorePosition(const char* name, int map) {
  if (BoundToStream() || name == nullptr) return false;
  PositionMap& m = savedPositions_[map];
  if (m.buckets.empty()) m.buckets.resize(kDefaultBuckets);
  SavedPosition entry;
  entry.name = name;
  if (IsElement(childPos_)) {
    entry.position = childPos_;
    entry.depth = 2;
  } else if (IsElement(mainPos_)) {
    entry.position = mainPos_;
    entry.depth = 1;
  } else {
    entry.position = IsElement(parentPos_) ? parentPos_ : 0;
    entry.depth = 0;
  }
  auto& bucket = m.buckets[BucketOf(entry.name, m.buckets.size())];
  for (auto& existing : bucket) {
    if (existing.name == entry.name) {
      existing = std::move(entry);
      return true;
    }
  }
  bucket.push_back(std::move(entry));
  return true;
}

bool CXmlDocument::RecallPosition(const char* name, int map) {
  if (BoundToStream() || name == nullptr) return false;
  const auto found = savedPositions_.find(map);
  if (found == savedPositions_.end() || found->second.buckets.empty()) return false;
  auto& bucket = found->second.buckets[BucketOf(name, found->second.buckets.size())];
  for (std::size_t i = 0; i < bucket.size(); ++i) {
    if (bucket[i].name != name) continue;
    const SavedPosition entry = bucket[i];
    if (entry.position != 0 && !IsElement(entry.position)) {
      bucket.erase(bucket.begin() + static_cast<std::ptrdiff_t>(i));  // its element was removed
      return false;
    }
    const int p = entry.position;
    const int up = records_[p].parent;
    if (entry.depth == 2) SetPosition(records_[up].parent, up, p);
    else if (entry.depth == 1) SetPosition(up, p, 0);
    else SetPosition(p, 0, 0);
    return true;
  }
  return false;
}
