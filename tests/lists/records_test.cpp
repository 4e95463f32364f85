// Duplicate records: names scored word by word across their fields, same
// fields that must agree before two records are compared at all, also
// fields that can only lower a pair's score, and groups in which every
// copy of a record takes its place.

#include "records.h"

#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "lists_fixture.h"

namespace marrowfield::lists::testing {
namespace {

class RecordsTest : public ListsTest {};

RecordList MakeRecords(size_t nameFields, size_t sameFields, size_t alsoFields,
                       const std::vector<std::vector<std::string>>& rows) {
  RecordList records;
  records.nameFields = nameFields;
  records.sameFields = sameFields;
  records.alsoFields = alsoFields;
  for (const auto& row : rows) {
    EXPECT_EQ(row.size(), records.FieldCount());
    records.fields.insert(records.fields.end(), row.begin(), row.end());
  }
  return records;
}

// The corpus of full names as (first words, last word) in |cities|, name
// by name round the cities, so that most variants of a name land in
// different cities and some in the same.
RecordList CorpusRecords(const std::vector<std::string>& cities) {
  RecordList records;
  records.nameFields = 2;
  records.sameFields = 1;
  const std::vector<std::string> names = FullNameSample();
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    const size_t space = name.rfind(' ');
    records.fields.push_back(
        space == std::string::npos ? "" : name.substr(0, space));
    records.fields.push_back(
        space == std::string::npos ? name : name.substr(space + 1));
    records.fields.push_back(cities[(i / 2) % cities.size()]);
  }
  return records;
}

TEST_F(RecordsTest, SameFieldText_FoldsWhatPeopleTypeDifferently) {
  const std::vector<std::tuple<std::string, std::string, bool>> cases = {
      {"San Jose", "san jose", true},
      {"San José", "SAN JOSE", true},
      {"  San   Jose ", "San Jose", true},
      {"San\tJose", "San Jose", true},
      {"(408) 615-5920", "408.615.5920", true},
      {"+1 408 615 5920", "14086155920", true},
      {"San Jose", "San Juan", false},
      {"Sanjose", "San Jose", false},
      {"408-615-5920", "408-615-5921", false},
      // Too few digits for a telephone number: its punctuation counts.
      {"12-34", "1234", false},
  };
  for (const auto& [a, b, equal] : cases) {
    EXPECT_EQ(SameFieldText(a) == SameFieldText(b), equal) << a << " / " << b;
  }
  EXPECT_EQ(SameFieldText(" \t "), "");
}

TEST_F(RecordsTest, NameFieldsAreJoinedAndScoredWordByWord) {
  const RecordList records =
      MakeRecords(2, 0, 0, {{"Jon", "Smyth"}, {"Smith, John", ""}});
  const PairOptions options = Options(60);
  EXPECT_EQ(RecordName(records, 0), "Jon Smyth");
  EXPECT_EQ(RecordName(records, 1), "Smith, John");
  EXPECT_EQ(ScoreRecords(records, 0, 1, options),
            ScoreValues("Jon Smyth", "Smith, John", options));
  const auto pairs = FindDuplicateRecords(records, options);
  ASSERT_EQ(pairs.size(), 1u);
  EXPECT_EQ(pairs[0], (ValuePair{0, 1, ScoreRecords(records, 0, 1, options)}));
}

TEST_F(RecordsTest, RecordsOfDifferentOrUnknownCitiesAreNeverCompared) {
  const RecordList records = MakeRecords(2, 1, 0,
                                         {{"John", "Smith", "Boston"},
                                          {"Jon", "Smyth", "boston "},
                                          {"John", "Smith", "Austin"},
                                          {"John", "Smith", ""},
                                          {"Jon", "Smith", ""}});
  for (const int accuracy : {0, 30, 60}) {
    const PairOptions options = Options(accuracy);
    const auto pairs = FindDuplicateRecords(records, options);
    ASSERT_EQ(pairs.size(), 1u) << accuracy;
    EXPECT_EQ(pairs[0].first, 0u);
    EXPECT_EQ(pairs[0].second, 1u);
  }
  EXPECT_EQ(ScoreRecords(records, 0, 2, Options(60)), -1);
  EXPECT_EQ(ScoreRecords(records, 3, 4, Options(60)), -1);
}

TEST_F(RecordsTest, AlsoFields_PairIsAsAlikeAsItsLeastAlikePart) {
  const PairOptions options = Options(60);
  const int nameScore = ScoreValues("John Smith", "Jon Smyth", options);
  const int companyScore = ScoreValues("Blue Ridge", "Blew Ridge", options);
  ASSERT_GE(nameScore, 60);
  ASSERT_GE(companyScore, 60);
  struct Case {
    std::string companyA;
    std::string companyB;
    int expected;  // -1: not paired
  };
  const std::vector<Case> cases = {
      {"Blue Ridge", "Blew Ridge", std::min(nameScore, companyScore)},
      {"Blue Ridge", "Zebra Taxi", -1},
      {"", "Blue Ridge", nameScore},  // unknown on one side: no evidence
      {"", "", nameScore},
      {"12345", "99999", nameScore},  // no sound to score: a same field's job
  };
  for (const Case& c : cases) {
    const RecordList records =
        MakeRecords(2, 1, 1,
                    {{"John", "Smith", "Boston", c.companyA},
                     {"Jon", "Smyth", "Boston", c.companyB}});
    const auto pairs = FindDuplicateRecords(records, options);
    if (c.expected < 0) {
      EXPECT_TRUE(pairs.empty()) << c.companyA << " / " << c.companyB;
      EXPECT_LT(ScoreRecords(records, 0, 1, options), 60);
    } else {
      ASSERT_EQ(pairs.size(), 1u) << c.companyA << " / " << c.companyB;
      EXPECT_EQ(pairs[0].score, c.expected);
      EXPECT_EQ(ScoreRecords(records, 0, 1, options), c.expected);
    }
  }
}

// The blocked finder gives exactly the unblocked finder's pairs of names
// in one city: filing keys per city loses nothing within a city.
TEST_F(RecordsTest, BlockedPairsAreTheNamePairsWithinEachCity) {
  const std::vector<std::string> cities = {"Boston", "Austin", "Reno"};
  const RecordList records = CorpusRecords(cities);
  std::vector<std::string> names;
  for (size_t r = 0; r < records.size(); ++r)
    names.push_back(RecordName(records, r));
  for (const ScoringMode mode :
       {ScoringMode::kStrict, ScoringMode::kTolerant}) {
    PairOptions options = Options(70);
    options.scoring = mode;
    std::vector<ValuePair> expected;
    for (const ValuePair& p : FindDuplicatePairs(names, options)) {
      if (records.Field(p.first, 2) == records.Field(p.second, 2))
        expected.push_back(p);
    }
    const std::vector<ValuePair> found = FindDuplicateRecords(records, options);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(found, expected);
  }
}

// Each spelling of a city comes back many times, first among other
// spellings of it and of other cities, blank ones among them.
TEST_F(RecordsTest, CitiesWrittenDifferentlyAreOneCityEveryTimeTheyComeBack) {
  const std::vector<std::string> cities = {
      "Boston", "", " boston", "Austin", "BOSTON  ", "  ", "Zürich",
      "Austin", "zurich", "San  Jose", "san jose", "\t"};
  const RecordList records = CorpusRecords(cities);
  std::vector<std::string> names;
  for (size_t r = 0; r < records.size(); ++r)
    names.push_back(RecordName(records, r));
  const PairOptions options = Options(70);
  std::vector<ValuePair> expected;
  for (const ValuePair& p : FindDuplicatePairs(names, options)) {
    const std::string city = SameFieldText(records.Field(p.first, 2));
    if (!city.empty() && city == SameFieldText(records.Field(p.second, 2)))
      expected.push_back(p);
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(FindDuplicateRecords(records, options), expected);
}

TEST_F(RecordsTest, ResultsAreTheSameForEveryThreadCount) {
  const RecordList records = CorpusRecords({"Boston", "Austin"});
  const auto one = FindDuplicateRecords(records, Options(60, 1));
  const auto groupsOne = GroupDuplicateRecords(records, one, Options(60, 1));
  for (const unsigned threads : {2u, 3u, 8u}) {
    const auto pairs = FindDuplicateRecords(records, Options(60, threads));
    EXPECT_EQ(pairs, one);
    const auto groups =
        GroupDuplicateRecords(records, pairs, Options(60, threads));
    ASSERT_EQ(groups.size(), groupsOne.size());
    for (size_t g = 0; g < groups.size(); ++g) {
      EXPECT_EQ(groups[g].canonical, groupsOne[g].canonical);
      ASSERT_EQ(groups[g].members.size(), groupsOne[g].members.size());
      for (size_t m = 0; m < groups[g].members.size(); ++m) {
        EXPECT_EQ(groups[g].members[m].value, groupsOne[g].members[m].value);
        EXPECT_EQ(groups[g].members[m].score, groupsOne[g].members[m].score);
      }
    }
  }
}

TEST_F(RecordsTest, Groups_CopiesJoinTheirRecordAndTheMostFrequentLeads) {
  const RecordList records = MakeRecords(2, 1, 0,
                                         {{"Jon", "Smyth", "Boston"},     // 0
                                          {"John", "Smith", "Boston"},    // 1
                                          {"John", "Smith", "Boston"},    // 2
                                          {"Mary", "Jones", "Reno"},      // 3
                                          {"Mary", "Jones", "Reno"},      // 4
                                          {"Ann", "Lee", "Austin"},       // 5
                                          {"John", "Smith", "Austin"}});  // 6
  const PairOptions options = Options(60);
  const auto pairs = FindDuplicateRecords(records, options);
  // Copies are compared once, through their first copy.
  for (const ValuePair& p : pairs) {
    EXPECT_NE(p.first, 2u);
    EXPECT_NE(p.second, 2u);
  }
  const auto groups = GroupDuplicateRecords(records, pairs, options);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0].canonical, 1u);  // John Smith occurs twice
  EXPECT_EQ(groups[0].totalCount, 3u);
  std::set<size_t> first;
  for (const GroupMember& m : groups[0].members) first.insert(m.value);
  EXPECT_EQ(first, (std::set<size_t>{0, 1, 2}));
  for (const GroupMember& m : groups[0].members) {
    EXPECT_EQ(m.count, 1u);
    if (m.value == 2) {
      EXPECT_EQ(m.via, 1u);
      EXPECT_EQ(m.score, 100);
    }
    if (m.value == 0) {
      EXPECT_EQ(m.score, ScoreRecords(records, 1, 0, options));
    }
  }
  // Identical copies alone are a group; Ann Lee and the Austin Smith not.
  EXPECT_EQ(groups[1].canonical, 3u);
  ASSERT_EQ(groups[1].members.size(), 2u);
  EXPECT_EQ(groups[1].members[1].value, 4u);
}

TEST_F(RecordsTest, DedupeRecords_IsFindThenGroup) {
  RecordList records = CorpusRecords({"Boston", "Austin"});
  for (size_t f = 0; f < 6; ++f) records.fields.push_back(records.fields[f]);
  const PairOptions options = Options(60);
  const auto pairs = FindDuplicateRecords(records, options);
  const auto groups = GroupDuplicateRecords(records, pairs, options);
  const RecordGroups both = DedupeRecords(records, options);
  EXPECT_EQ(both.pairs, pairs);
  ASSERT_EQ(both.groups.size(), groups.size());
  for (size_t g = 0; g < groups.size(); ++g) {
    EXPECT_EQ(both.groups[g].canonical, groups[g].canonical);
    ASSERT_EQ(both.groups[g].members.size(), groups[g].members.size());
    for (size_t m = 0; m < groups[g].members.size(); ++m) {
      EXPECT_EQ(both.groups[g].members[m].value, groups[g].members[m].value);
      EXPECT_EQ(both.groups[g].members[m].via, groups[g].members[m].via);
    }
  }
}

TEST_F(RecordsTest, EveryRecordIsInAtMostOneGroup) {
  RecordList records = CorpusRecords({"Boston", "Austin", "Reno"});
  // Copies of some records, to mix copies into the groups.
  const size_t original = records.size();
  for (size_t r = 0; r < original; r += 7) {
    for (size_t f = 0; f < records.FieldCount(); ++f)
      records.fields.push_back(records.Field(r, f));
  }
  const PairOptions options = Options(60);
  const auto groups = GroupDuplicateRecords(
      records, FindDuplicateRecords(records, options), options);
  std::vector<int> seen(records.size(), 0);
  for (const Group& g : groups) {
    EXPECT_EQ(g.members.front().value, g.canonical);
    EXPECT_EQ(g.totalCount, g.members.size());
    for (const GroupMember& m : g.members) {
      ++seen[m.value];
      EXPECT_EQ(records.Field(m.value, 2), records.Field(g.canonical, 2));
    }
  }
  for (size_t r = original; r < records.size(); ++r)
    EXPECT_EQ(seen[r], 1) << "copy " << r << " must be grouped";
  for (const int count : seen) EXPECT_LE(count, 1);
}

TEST_F(RecordsTest, Link_PairsOnlyRecordsOfTheSameCity) {
  const RecordList a = MakeRecords(
      2, 1, 0, {{"John", "Smith", "Boston"}, {"Mary", "Jones", "Reno"}});
  const RecordList b = MakeRecords(2, 1, 0,
                                   {{"Jon", "Smyth", "BOSTON"},
                                    {"Mary", "Jones", "Austin"},
                                    {"Marie", "Jones", "Reno"}});
  const auto pairs = FindLinkRecords(a, b, Options(60));
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].first, 0u);
  EXPECT_EQ(pairs[0].second, 0u);
  EXPECT_EQ(pairs[1].first, 1u);
  EXPECT_EQ(pairs[1].second, 2u);
  // Lists of different shapes cannot be linked.
  const RecordList other = MakeRecords(1, 0, 0, {{"John Smith"}});
  EXPECT_TRUE(FindLinkRecords(a, other, Options(60)).empty());
}

TEST_F(RecordsTest, NamesWithoutLettersPairWithNothing) {
  const RecordList records =
      MakeRecords(2, 0, 0, {{"", ""}, {"", ""}, {"123", "-"}, {"123", "-"}});
  const auto pairs = FindDuplicateRecords(records, Options(0));
  EXPECT_TRUE(pairs.empty());
  EXPECT_TRUE(GroupDuplicateRecords(records, pairs, Options(0)).empty());
}

}  // namespace
}  // namespace marrowfield::lists::testing
