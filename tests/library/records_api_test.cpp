// Duplicate records through the C interface: records built field by
// field, grouped by name within equal same fields, linked across two
// lists, and refused with a message when the call is wrong.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "lists_c_api.h"
#include "marrowfield.h"

namespace marrowfield::lists::testing {
namespace {

class RecordsCApi : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(initialize(), 0); }
  static void TearDownTestSuite() { un_initialize(); }
};

void AddAll(mf_records_t* records,
            const std::vector<std::vector<const char*>>& rows) {
  for (const auto& row : rows) {
    Error error;
    ASSERT_EQ(mf_records_add(records, row.data(), error.out()), MF_OK)
        << error.text();
  }
}

// The group index of each record, SIZE_MAX for none.
std::vector<size_t> GroupOfRecord(const mf_groups_t* groups, size_t count) {
  std::vector<size_t> of(count, SIZE_MAX);
  for (size_t g = 0; g < mf_groups_count(groups); ++g) {
    for (size_t m = 0; m < mf_groups_member_count(groups, g); ++m) {
      const size_t r = mf_groups_member_value(groups, g, m);
      EXPECT_LT(r, count);
      EXPECT_EQ(of[r], SIZE_MAX) << "record " << r << " in two groups";
      if (r < count) of[r] = g;
    }
  }
  return of;
}

TEST_F(RecordsCApi, GroupsRecordsByNameWithinTheSameCity) {
  Records records;
  ASSERT_EQ(mf_records_create(2, 1, 0, records.out(), nullptr), MF_OK);
  AddAll(records.get(), {{"Jon", "Smyth", "San José"},
                         {"John", "Smith", "san jose"},
                         {"John", "Smith", "Chicago"},
                         {"Mary", nullptr, "Chicago"},
                         {"Mary", "", "Chicago"},
                         {"Mary", "", "Chicago"}});
  EXPECT_EQ(mf_records_count(records.get()), 6u);
  Options options;
  mf_options_set_fold(options.get(), MF_FOLD_UTF8);
  Groups groups;
  Error error;
  ASSERT_EQ(mf_records_dedupe(options.get(), records.get(), groups.out(),
                              error.out()),
            MF_OK)
      << error.text();
  const std::vector<size_t> of = GroupOfRecord(groups.get(), 6);
  EXPECT_NE(of[0], SIZE_MAX);
  EXPECT_EQ(of[0], of[1]);
  EXPECT_EQ(of[2], SIZE_MAX);  // the only Smith in Chicago
  // A null field is an empty one: the three Marys are copies of one record.
  EXPECT_NE(of[3], SIZE_MAX);
  EXPECT_EQ(of[3], of[4]);
  EXPECT_EQ(of[4], of[5]);
  EXPECT_EQ(mf_groups_canonical(groups.get(), of[3]), 3u);
  EXPECT_EQ(mf_groups_member_count(groups.get(), of[3]), 3u);
}

TEST_F(RecordsCApi, LinksRecordsOfTheSameCity) {
  Records a;
  Records b;
  ASSERT_EQ(mf_records_create(1, 1, 0, a.out(), nullptr), MF_OK);
  ASSERT_EQ(mf_records_create(1, 1, 0, b.out(), nullptr), MF_OK);
  AddAll(a.get(), {{"John Smith", "Boston"}, {"Mary Jones", "Reno"}});
  AddAll(b.get(), {{"Mary Jones", "Boston"}, {"Smyth, Jon", "BOSTON"}});
  Options options;
  Links links;
  ASSERT_EQ(
      mf_records_link(options.get(), a.get(), b.get(), links.out(), nullptr),
      MF_OK);
  ASSERT_EQ(mf_links_match_count(links.get(), 0), 1u);
  EXPECT_EQ(mf_links_match_value(links.get(), 0, 0), 1u);
  EXPECT_EQ(mf_links_match_count(links.get(), 1), 0u);
}

TEST_F(RecordsCApi, WrongCalls_FailWithAMessage) {
  Options options;
  Records good;
  ASSERT_EQ(mf_records_create(1, 0, 0, good.out(), nullptr), MF_OK);
  Records otherShape;
  ASSERT_EQ(mf_records_create(1, 1, 0, otherShape.out(), nullptr), MF_OK);
  mf_groups_t* groups = nullptr;
  mf_links_t* links = nullptr;
  mf_records_t* none = nullptr;
  struct Case {
    const char* what;
    int status;
  };
  Error error;
  const Case cases[] = {
      {"no name field", mf_records_create(0, 1, 0, &none, error.out())},
      {"null result", mf_records_create(1, 0, 0, nullptr, error.out())},
      {"null records", mf_records_add(nullptr, nullptr, error.out())},
      {"null fields", mf_records_add(good.get(), nullptr, error.out())},
      {"null records to dedupe",
       mf_records_dedupe(options.get(), nullptr, &groups, error.out())},
      {"null options",
       mf_records_dedupe(nullptr, good.get(), &groups, error.out())},
      {"shapes differ", mf_records_link(options.get(), good.get(),
                                        otherShape.get(), &links, error.out())},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.status, MF_INVALID_ARGUMENT) << c.what;
  }
  EXPECT_FALSE(error.text().empty());
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(groups, nullptr);
  EXPECT_EQ(links, nullptr);
  EXPECT_EQ(mf_records_count(nullptr), 0u);
  mf_records_destroy(nullptr);
}

}  // namespace
}  // namespace marrowfield::lists::testing
