// Duplicate records rather than duplicate values: rows of a customer list
// where the person's name sounds alike and the city (or any other field
// named as a *same* field) is the same.
//
// A record has name fields, same fields and also fields, as many of each
// as its RecordList says:
// - The name fields are joined in order with a space and scored word by
//   word as pair_finder.h scores values ("Jon" + "Smyth" against "Smith,
//   John"). A record whose name has no letters is compared with no other.
// - Same fields must be equal after SameFieldText for two records to be
//   compared at all; a record with an empty same field is compared with
//   no other, since an unknown city cannot show that two people live in
//   one. Pair finding files each record's name keys within its same
//   fields' values, so records of different cities are never compared.
// - Also fields are scored by sound as the name is. A pair's score is the
//   least of its name's score and its also fields' scores: a pair is as
//   alike as its least alike part, so one field that plainly differs
//   keeps two records apart however alike their names are. An also field
//   empty or without letters in either record has no sound to score, says
//   nothing either way and is left out.
//
// Records identical in every field are copies of one record: they are
// transcribed and compared once, count as one distinct record occurring
// as often as its copies, and always fall in one group (copies alone make
// a group of their own when the record is comparable). Results are
// identical for every thread count and every run.

#ifndef MARROWFIELD_LISTS_RECORDS_H_
#define MARROWFIELD_LISTS_RECORDS_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "pair_finder.h"

namespace marrowfield::lists {

// Records with a fixed number of fields each: nameFields name fields,
// then sameFields same fields, then alsoFields also fields, record after
// record in |fields|.
struct RecordList {
  size_t nameFields = 1;
  size_t sameFields = 0;
  size_t alsoFields = 0;
  std::vector<std::string> fields;

  size_t FieldCount() const { return nameFields + sameFields + alsoFields; }
  size_t size() const {
    return FieldCount() == 0 ? 0 : fields.size() / FieldCount();
  }
  // Field |f| (counted over all three kinds) of record |r|.
  const std::string& Field(size_t r, size_t f) const {
    return fields[r * FieldCount() + f];
  }
};

// The text a same field is compared by: accents folded, case folded,
// blanks trimmed and runs of blanks made one space; a field that looks
// like a telephone number (only digits, blanks and + - ( ) . /, with at
// least five digits) keeps its digits alone, so "(408) 615-5920" equals
// "408-615-5920".
std::string SameFieldText(std::string_view field);

// The name of record |r|: its name fields joined by single spaces, empty
// fields left out.
std::string RecordName(const RecordList& records, size_t r);

// The score (0-100) of records |a| and |b| under the rule above, or -1
// when they are not to be compared (same fields differ or are empty).
// REQUIRES: the engine is initialized.
int ScoreRecords(const RecordList& records, size_t a, size_t b,
                 const PairOptions& options);

// Every pair of distinct records (first < second, indexes of |records|)
// scoring at least options.accuracy, sorted by (first, second); of
// identical records only the first copy is paired.
// REQUIRES: the engine is initialized.
std::vector<ValuePair> FindDuplicateRecords(const RecordList& records,
                                            const PairOptions& options);

// The groups of |records| connected through |pairs| (from
// FindDuplicateRecords on the same records and options), as
// GroupDuplicates forms them over the distinct records, the canonical
// being the most frequent distinct record (its first copy). Every copy of
// a grouped record is a member: after its first copy, with the same score
// to the canonical, joined through its first copy at 100. Member counts
// are 1; totalCount is the number of records in the group. A record is in
// at most one group. REQUIRES: the engine is initialized.
std::vector<Group> GroupDuplicateRecords(const RecordList& records,
                                         const std::vector<ValuePair>& pairs,
                                         const PairOptions& options);

struct RecordGroups {
  std::vector<ValuePair> pairs;
  std::vector<Group> groups;
};

// FindDuplicateRecords and GroupDuplicateRecords of its pairs, sharing
// the work they would each do. REQUIRES: the engine is initialized.
RecordGroups DedupeRecords(const RecordList& records,
                           const PairOptions& options);

// Every pair (record of |a|, record of |b|) scoring at least
// options.accuracy, sorted by (first, second). The two lists must have
// the same numbers of fields of each kind (else nothing is found).
// REQUIRES: the engine is initialized.
std::vector<ValuePair> FindLinkRecords(const RecordList& a, const RecordList& b,
                                       const PairOptions& options);

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_RECORDS_H_
