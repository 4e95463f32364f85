// Skeleton keys from phones (see skeleton_keys.h).

#include "skeleton_keys.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "per_thread.h"

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

#if !defined(_WIN32)
// SkeletonSymbol of every phone id, for the current tables. The symbols
// follow from the inventory's properties, which never change once the
// tables are built, so a thread fills its copy again only when the tables
// themselves are new.
const char* SkeletonSymbols() {
  thread_local const PhoneTables* filledFor = nullptr;
  thread_local char symbols[256];
  if (filledFor != &CurrentPhoneTables()) {
    for (int id = 0; id < 256; ++id)
      symbols[id] = SkeletonSymbol(static_cast<PhoneId>(id));
    filledFor = &CurrentPhoneTables();
  }
  return symbols;
}
#endif

// The skeleton symbol of a phone: from the per-thread table where there is
// one (per_thread.h), else worked out for each phone.
struct SkeletonSymbolLookup {
#if defined(_WIN32)
  char operator[](PhoneId phone) const { return SkeletonSymbol(phone); }
#else
  const char* table = SkeletonSymbols();
  char operator[](PhoneId phone) const { return table[phone]; }
#endif
};

// Appends the skeleton symbols of |phones| to |out|. Written without a
// branch per phone: the tolerant score asks for four skeletons a pair.
void AppendSkeleton(const PhoneIds& phones, std::string& out) {
  const SkeletonSymbolLookup symbols;
  const size_t start = out.size();
  out.resize(start + phones.size());
  char* const first = &out[0];
  char* next = first + start;
  for (PhoneId phone : phones) {
    const char symbol = symbols[phone];
    *next = symbol;
    next += symbol != 0;
  }
  out.resize(static_cast<size_t>(next - first));
}

// Written between a placed neighbour's symbols and its place: no skeleton
// symbol, so that no other key has such a text.
constexpr char kPlaceSeparator = '@';

// Appends the keys of |phones| to |keys|, unsorted: with |kinded|, those of
// KindedPhoneKeys, else those of PhoneKeys.
void AppendPhoneKeys(const PhoneIds& phones, KeySet set, bool kinded,
                     std::vector<KindedKey>& keys) {
  if (phones.empty()) return;
  std::string skeleton(1, kSkeletonPrefix);
  AppendSkeleton(phones, skeleton);
  const size_t symbols = skeleton.size() - 1;
  const bool longReading = phones.size() >= kMinPhonesForNeighbours;
  const KeyKind skeletonKind =
      longReading ? KeyKind::kSkeleton : KeyKind::kShortSkeleton;
  if (set == KeySet::kExactSkeleton || symbols > kMaxNeighbourSkeleton) {
    keys.push_back({std::move(skeleton), skeletonKind});
    return;
  }
  // The plain list keeps a short reading's neighbours: it is the wider net
  // the database index and the C interface have always filed under.
  if (longReading || !kinded) {
    for (size_t k = 1; k < skeleton.size(); ++k) {
      // A doubled symbol gives the same neighbour twice; skip the repeat.
      if (k > 1 && skeleton[k] == skeleton[k - 1]) continue;
      std::string neighbour = skeleton;
      neighbour.erase(k, 1);
      keys.push_back({std::move(neighbour), KeyKind::kNeighbour});
    }
  }
  // Every place, doubled symbols too: Xkky meets Xkzy only by deleting
  // the second k, which the repeat skipped above would leave out.
  if (longReading && kinded) {
    static_assert(kMaxNeighbourSkeleton < 127 - '0',
                  "a place is one printable character");
    for (size_t k = 1; k < skeleton.size(); ++k) {
      std::string placed = skeleton;
      placed.erase(k, 1);
      placed += kPlaceSeparator;
      placed += static_cast<char>('0' + (k - 1));
      keys.push_back({std::move(placed), KeyKind::kPlacedNeighbour});
    }
  }
  // The tolerant score passes over an ending of two consonants more as
  // left-over phones: the skeleton without them meets the shorter word's.
  if (symbols >= kMinStemSymbols + 2)
    keys.push_back({skeleton.substr(0, skeleton.size() - 2), KeyKind::kSkeleton});
  keys.push_back({std::move(skeleton), skeletonKind});
}

}  // namespace

std::vector<KindedKey> KindedPhoneKeys(const PhoneIds& phones) {
  std::vector<KindedKey> keys;
  AppendPhoneKeys(phones, KeySet::kWithNeighbours, true, keys);
  // The keys' lengths tell their kinds apart (a neighbour is one symbol
  // shorter than the skeleton, a stem two, a placed neighbour has its
  // separator), so equal texts are repeats of one neighbour.
  std::sort(keys.begin(), keys.end(),
            [](const KindedKey& a, const KindedKey& b) { return a.text < b.text; });
  keys.erase(std::unique(keys.begin(), keys.end(),
                         [](const KindedKey& a, const KindedKey& b) {
                           return a.text == b.text;
                         }),
             keys.end());
  return keys;
}

std::vector<std::string> PhoneKeys(const PhoneIds& phones, KeySet set) {
  std::vector<KindedKey> kinded;
  AppendPhoneKeys(phones, set, false, kinded);
  std::vector<std::string> keys;
  keys.reserve(kinded.size());
  for (KindedKey& key : kinded) keys.push_back(std::move(key.text));
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

namespace {

// The tolerant score asks whether two words share a key for every pair it
// scores, millions of times in pair finding, so the question is answered
// from the two skeletons directly instead of building and sorting their
// key lists: each test below is one way an element of one key set can
// equal an element of the other. PhoneKeys stays the definition; a test
// holds the two to the same answers.

bool HasNeighbours(std::string_view skeleton) {
  return skeleton.size() <= kMaxNeighbourSkeleton;
}

bool HasStem(std::string_view skeleton) {
  return HasNeighbours(skeleton) && skeleton.size() >= kMinStemSymbols + 2;
}

size_t CommonPrefix(std::string_view a, std::string_view b) {
  const size_t most = std::min(a.size(), b.size());
  size_t n = 0;
  while (n < most && a[n] == b[n]) ++n;
  return n;
}

size_t CommonSuffix(std::string_view a, std::string_view b) {
  const size_t most = std::min(a.size(), b.size());
  size_t n = 0;
  while (n < most && a[a.size() - 1 - n] == b[b.size() - 1 - n]) ++n;
  return n;
}

// Whether deleting one symbol of |longer| gives |shorter|.
bool OneDeletionApart(std::string_view longer, std::string_view shorter) {
  return longer.size() == shorter.size() + 1 &&
         CommonPrefix(longer, shorter) + CommonSuffix(longer, shorter) >=
             shorter.size();
}

// Whether |a| and |b|, of one length, differ in exactly one place: a
// placed neighbour of each is the same.
bool OneSubstitutionApart(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const size_t prefix = CommonPrefix(a, b);
  return prefix < a.size() && CommonSuffix(a, b) == a.size() - prefix - 1;
}

// Whether the kinded keys of skeletons |a| and |b| (symbols only, without
// the prefix) meet; |aLong| and |bLong|: the readings have at least
// kMinPhonesForNeighbours phones, and so neighbours.
bool SkeletonsShareKey(std::string_view a, std::string_view b, bool aLong,
                       bool bLong) {
  if (a == b) return true;
  const bool aWide = aLong && HasNeighbours(a);
  const bool bWide = bLong && HasNeighbours(b);
  if (aLong && bLong) {
    // A neighbour of one is the other.
    if (aWide && OneDeletionApart(a, b)) return true;
    if (bWide && OneDeletionApart(b, a)) return true;
    // A placed neighbour of each is the same.
    if (aWide && bWide && OneSubstitutionApart(a, b)) return true;
  }
  // A stem against the other's skeleton, neighbours or stem.
  for (int turn = 0; turn < 2; ++turn) {
    const std::string_view x = turn == 0 ? a : b;
    const std::string_view y = turn == 0 ? b : a;
    const bool yWide = turn == 0 ? bWide : aWide;
    if (!HasStem(x)) continue;
    const std::string_view stem = x.substr(0, x.size() - 2);
    if (y == stem) return true;
    if (yWide && OneDeletionApart(y, stem)) return true;
    if (turn == 0 && HasStem(y) && y.size() == x.size() &&
        y.compare(0, stem.size(), stem) == 0)
      return true;
  }
  return false;
}

}  // namespace

bool ReadingsShareKey(const PhoneIds& written1, const PhoneIds& respelled1,
                      const PhoneIds& written2, const PhoneIds& respelled2) {
  // Kept per thread so that their capacity is reused from pair to pair.
  MARROWFIELD_PER_THREAD std::string skeletons[4];
  const PhoneIds* const readings[4] = {&written1, &written2, &respelled1,
                                       &respelled2};
  // The written readings first: most pairs the score is asked about meet
  // there, and their respellings are then never looked at. A reading with
  // no phones has no keys at all (unlike one with phones but no skeleton
  // symbols, whose key is the empty skeleton).
  for (int r = 0; r < 4; ++r) {
    skeletons[r].clear();
    AppendSkeleton(*readings[r], skeletons[r]);
    // Reading r against every reading of the other word seen so far.
    const int word = r % 2;
    for (int other = 1 - word; other < r; other += 2) {
      if (readings[r]->empty() || readings[other]->empty()) continue;
      if (SkeletonsShareKey(skeletons[r], skeletons[other],
                            readings[r]->size() >= kMinPhonesForNeighbours,
                            readings[other]->size() >= kMinPhonesForNeighbours))
        return true;
    }
  }
  return false;
}

ReadingSkeletons SkeletonsOfReadings(const PhoneIds& written,
                                     const PhoneIds& respelled) {
  ReadingSkeletons skeletons;
  AppendSkeleton(written, skeletons.written);
  AppendSkeleton(respelled, skeletons.respelled);
  skeletons.writtenPhones = written.size();
  skeletons.respelledPhones = respelled.size();
  return skeletons;
}

bool ReadingsShareKey(const ReadingSkeletons& first,
                      const ReadingSkeletons& second) {
  const std::string* const skeletons1[2] = {&first.written, &first.respelled};
  const size_t phones1[2] = {first.writtenPhones, first.respelledPhones};
  const std::string* const skeletons2[2] = {&second.written,
                                            &second.respelled};
  const size_t phones2[2] = {second.writtenPhones, second.respelledPhones};
  for (int x = 0; x < 2; ++x) {
    for (int y = 0; y < 2; ++y) {
      if (phones1[x] == 0 || phones2[y] == 0) continue;
      if (SkeletonsShareKey(*skeletons1[x], *skeletons2[y],
                            phones1[x] >= kMinPhonesForNeighbours,
                            phones2[y] >= kMinPhonesForNeighbours))
        return true;
    }
  }
  return false;
}

}  // namespace marrowfield
