// Skeleton keys from phones (see skeleton_keys.h).

#include "skeleton_keys.h"

#include <algorithm>
#include <string>

namespace marrowfield {
namespace {

// Every key starts with this, so that an empty skeleton is a key too and
// keys of single words never collide with the pair keys of pair finding.
constexpr char kSkeletonPrefix = '.';

// The skeleton symbol of a phone, or 0 for a phone that may be silent or
// is a vowel. Symbols are the articulation groups of the phone tables,
// written as letters; a phone outside the inventory (which the tables
// treat as near to every phone) gets its own symbol and so is kept apart,
// a documented loss of the guarantee that Flite's phones never cause.
char SkeletonSymbol(PhoneId phone) {
  if (phone >= kInventorySize) return '?';
  if (IsVowel(phone) || CanBeBlank(phone)) return 0;
  static const char kGroupSymbol[] = "0kstnpmrlvhx";
  const int32_t code = GetPhoneCode(phone);
  if (code < 0 || code >= static_cast<int32_t>(sizeof(kGroupSymbol) - 1))
    return '?';
  return kGroupSymbol[code];
}

// Appends the keys of |phones| to |keys|, unsorted.
void AppendPhoneKeys(const PhoneIds& phones, KeySet set,
                     std::vector<std::string>& keys) {
  if (phones.empty()) return;
  std::string skeleton(1, kSkeletonPrefix);
  for (PhoneId phone : phones) {
    if (const char symbol = SkeletonSymbol(phone)) skeleton += symbol;
  }
  const size_t symbols = skeleton.size() - 1;
  if (set == KeySet::kExactSkeleton || symbols > kMaxNeighbourSkeleton) {
    keys.push_back(std::move(skeleton));
    return;
  }
  for (size_t k = 1; k < skeleton.size(); ++k) {
    // A doubled symbol gives the same neighbour twice; skip the repeat.
    if (k > 1 && skeleton[k] == skeleton[k - 1]) continue;
    std::string neighbour = skeleton;
    neighbour.erase(k, 1);
    keys.push_back(std::move(neighbour));
  }
  // The tolerant score passes over an ending of two consonants more as
  // left-over phones: the skeleton without them meets the shorter word's.
  if (symbols >= kMinStemSymbols + 2)
    keys.push_back(skeleton.substr(0, skeleton.size() - 2));
  keys.push_back(std::move(skeleton));
}

void SortKeys(std::vector<std::string>& keys) {
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
}

}  // namespace

std::vector<std::string> PhoneKeys(const PhoneIds& phones, KeySet set) {
  std::vector<std::string> keys;
  AppendPhoneKeys(phones, set, keys);
  SortKeys(keys);
  return keys;
}

bool ReadingsShareKey(const PhoneIds& written1, const PhoneIds& respelled1,
                      const PhoneIds& written2, const PhoneIds& respelled2) {
  // Kept per thread: the tolerant score asks for every pair it scores.
  thread_local std::vector<std::string> keys1;
  thread_local std::vector<std::string> keys2;
  keys1.clear();
  keys2.clear();
  AppendPhoneKeys(written1, KeySet::kWithNeighbours, keys1);
  AppendPhoneKeys(respelled1, KeySet::kWithNeighbours, keys1);
  AppendPhoneKeys(written2, KeySet::kWithNeighbours, keys2);
  AppendPhoneKeys(respelled2, KeySet::kWithNeighbours, keys2);
  SortKeys(keys1);
  SortKeys(keys2);
  auto a = keys1.begin();
  auto b = keys2.begin();
  while (a != keys1.end() && b != keys2.end()) {
    if (*a == *b) return true;
    if (*a < *b) {
      ++a;
    } else {
      ++b;
    }
  }
  return false;
}

}  // namespace marrowfield
