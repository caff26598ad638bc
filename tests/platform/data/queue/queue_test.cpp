#include "platform/data/queue/queue.h"

#include "platform/runtime/error_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace {

struct Row {
    fw::FString<10> Name;
    std::uint16_t Track = 0;
    std::int32_t Id = 0;
    fw::CString<8> Code;
    double Ratio = 0;
};

const fw::RecordDecl& RowDecl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<Row>("QUE")
                                        .Field("Name", &Row::Name)
                                        .Field("Track", &Row::Track)
                                        .Field("Id", &Row::Id)
                                        .Field("Code", &Row::Code)
                                        .Field("Ratio", &Row::Ratio)
                                        .Build();
    return d;
}

using RowQueue = fw::QueueOf<Row>;

void AddRow(RowQueue& q, std::string_view name, int track, int id, std::string_view order = {}) {
    q.rec.Name = name;
    q.rec.Track = static_cast<std::uint16_t>(track);
    q.rec.Id = id;
    if (order.empty()) fw::ADD(q);
    else fw::ADD(q, order);
    ASSERT_EQ(fw::ERRORCODE(), 0);
}

std::vector<int> Ids(RowQueue& q) {
    std::vector<int> ids;
    for (long i = 1; i <= fw::RECORDS(q); ++i) {
        fw::GET(q, i);
        ids.push_back(q.rec.Id);
    }
    return ids;
}

TEST(Queue, SortedAddPlacesEachEntryAfterItsEqualsAndSetsThePointer) {
    RowQueue q(RowDecl());
    // name, track, id: ids tell the final order apart.
    AddRow(q, "B", 2, 1, "+Name,-Track");
    AddRow(q, "A", 1, 2, "+Name,-Track");
    AddRow(q, "B", 5, 3, "+Name,-Track");
    AddRow(q, "B", 2, 4, "+Name,-Track");  // a tie with id 1: goes after it
    EXPECT_EQ(fw::POINTER(q), 4);
    AddRow(q, "A  ", 1, 5, "+QUE:Name,-QUE:Track");  // trailing blanks do not count: a tie with id 2
    EXPECT_EQ(fw::POINTER(q), 2);
    EXPECT_EQ(Ids(q), (std::vector<int>{2, 5, 3, 1, 4}));
    // The buffer keeps the last entry read.
    EXPECT_EQ(q.rec.Id, 4);
}

TEST(Queue, TextComparesByByteCaseSensitivelyIgnoringTrailingBlanks) {
    RowQueue q(RowDecl());
    const char* names[] = {"b", "\xC9t\xE9", "B", "a", "Zed", "A", "a b"};
    for (int i = 0; i < 7; ++i) AddRow(q, names[i], 0, i, "Name");
    std::vector<std::string> order;
    for (long i = 1; i <= fw::RECORDS(q); ++i) {
        fw::GET(q, i);
        order.push_back(q.rec.Name.Str());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"A", "B", "Zed", "a", "a b", "b", "\xC9t\xE9"}));

    q.rec.Name = "zed";
    fw::GET(q, "Name");
    EXPECT_NE(fw::ERRORCODE(), 0);  // case counts
    q.rec.Name = "Zed       ";
    fw::GET(q, "Name");
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(q.rec.Id, 4);
}

TEST(Queue, CStringAndRealFieldsOrderByTheirValues) {
    RowQueue q(RowDecl());
    const std::pair<const char*, double> rows[] = {{"x ", 2.5}, {"w", -1.0}, {"x", 0.25}, {"", 10}};
    int id = 0;
    for (const auto& [code, ratio] : rows) {
        q.rec.Code = code;
        q.rec.Ratio = ratio;
        q.rec.Id = id++;
        fw::ADD(q);
    }
    fw::SORT(q, "Code,-Ratio");
    ASSERT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(Ids(q), (std::vector<int>{3, 1, 0, 2}));  // "x " and "x" tie on Code; Ratio descends
    fw::SORT(q, "Ratio");
    EXPECT_EQ(Ids(q), (std::vector<int>{1, 2, 0, 3}));
}

struct FieldGetCase {
    const char* what;
    bool sortedFirst;      // sort by Name,Track before searching
    const char* fields;
    const char* name;
    int track;
    int expectedId;        // -1: no such entry
};

class QueueGetByFields : public ::testing::TestWithParam<FieldGetCase> {};

TEST_P(QueueGetByFields, FindsTheFirstEqualEntryInQueueOrder) {
    const FieldGetCase& c = GetParam();
    RowQueue q(RowDecl());
    AddRow(q, "Delta", 3, 10);
    AddRow(q, "Alpha", 7, 11);
    AddRow(q, "Delta", 1, 12);
    AddRow(q, "Alpha", 7, 13);
    AddRow(q, "Mike", 2, 14);
    if (c.sortedFirst) fw::SORT(q, "+Name,+Track");
    q.rec.Name = c.name;
    q.rec.Track = static_cast<std::uint16_t>(c.track);
    q.rec.Id = -99;
    fw::GET(q, c.fields);
    if (c.expectedId < 0) {
        EXPECT_NE(fw::ERRORCODE(), 0);
        EXPECT_EQ(fw::POINTER(q), 0);
        EXPECT_EQ(q.rec.Id, -99);  // the buffer is left alone
    } else {
        EXPECT_EQ(fw::ERRORCODE(), 0);
        EXPECT_EQ(q.rec.Id, c.expectedId);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QueueGetByFields,
    ::testing::Values(FieldGetCase{"unsorted by name", false, "Name", "Delta", 0, 10},
                      FieldGetCase{"unsorted by track only", false, "Track", "", 7, 11},
                      FieldGetCase{"unsorted two fields", false, "Name,Track", "Delta", 1, 12},
                      FieldGetCase{"unsorted miss", false, "Name,Track", "Delta", 2, -1},
                      FieldGetCase{"sorted leading field, first of duplicates", true, "Name", "Delta", 0, 12},
                      FieldGetCase{"sorted both fields, first of duplicates", true, "QUE:Name,QUE:Track", "Alpha", 7, 11},
                      FieldGetCase{"sorted, searched by a field out of the order", true, "Track", "", 3, 10},
                      FieldGetCase{"sorted miss between entries", true, "Name", "Charlie", 0, -1},
                      FieldGetCase{"sorted miss past the end", true, "Name", "Zulu", 0, -1},
                      FieldGetCase{"unknown field", false, "Nope", "Delta", 0, -1}),
    [](const auto& info) {
        std::string s = info.param.what;
        for (auto& ch : s)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return s;
    });

TEST(Queue, PositionalGetPutAndDeleteWorkOnTheCurrentEntry) {
    RowQueue q(RowDecl());
    for (int i = 1; i <= 3; ++i) AddRow(q, "N", i, i);

    for (long bad : {0L, 4L, -1L}) {
        q.rec.Id = -5;
        fw::GET(q, bad);
        EXPECT_EQ(fw::ERRORCODE(), fw::kEntryNotFound) << bad;
        EXPECT_EQ(q.rec.Id, -5);
    }
    // After a failed GET there is no current entry to write or delete.
    fw::PUT(q);
    EXPECT_EQ(fw::ERRORCODE(), fw::kEntryNotFound);
    fw::DELETE(q);
    EXPECT_EQ(fw::ERRORCODE(), fw::kEntryNotFound);

    fw::GET(q, 2);
    q.rec.Id = 20;
    fw::PUT(q);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(Ids(q), (std::vector<int>{1, 20, 3}));

    fw::GET(q, 1);
    fw::DELETE(q);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::DELETE(q);  // deleted already: no current entry
    EXPECT_EQ(fw::ERRORCODE(), fw::kEntryNotFound);
    EXPECT_EQ(Ids(q), (std::vector<int>{20, 3}));

    fw::FREE(q);
    EXPECT_EQ(fw::RECORDS(q), 0);
    EXPECT_EQ(q.rec.Id, 3);  // FREE leaves the buffer
    fw::SORT(q, "Name,Bogus");
    EXPECT_EQ(fw::ERRORCODE(), fw::kBadFieldList);
}

TEST(Queue, FieldSearchOnADescendingOrderFindsTheFirstEqualEntry) {
    RowQueue q(RowDecl());
    const char* names[] = {"Kilo", "Bravo", "Kilo", "Yankee", "Bravo", "Echo"};
    for (int i = 0; i < 6; ++i) AddRow(q, names[i], 0, i, "-Name");
    EXPECT_EQ(Ids(q), (std::vector<int>{3, 0, 2, 5, 1, 4}));
    const std::pair<const char*, int> cases[] = {{"Kilo", 2}, {"Bravo", 5}, {"Yankee", 1}, {"Alpha", 0}, {"Zulu", 0}};
    for (const auto& [name, pointer] : cases) {
        q.rec.Name = name;
        fw::GET(q, "Name");
        EXPECT_EQ(fw::POINTER(q), pointer) << name;
        EXPECT_EQ(fw::ERRORCODE() == 0, pointer != 0) << name;
    }
}

TEST(Queue, PutThatBreaksTheOrderMakesFieldSearchesLinear) {
    RowQueue q(RowDecl());
    for (int i = 0; i < 5; ++i) AddRow(q, std::string(1, static_cast<char>('A' + i)), 0, i, "Name");
    fw::GET(q, 1);
    q.rec.Name = "Z";
    fw::PUT(q);  // "Z" now first: a binary search would miss it
    q.rec.Name = "Z";
    fw::GET(q, "Name");
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::POINTER(q), 1);
}

// Random operations on a large queue against a plain vector: catches slips
// in the chunking and the running counts.
TEST(Queue, ManyOperationsMatchASimpleModel) {
    RowQueue q(RowDecl());
    std::vector<Row> model;
    std::mt19937 rng(12345);
    auto key = [](const Row& r) { return std::make_pair(std::string(r.Name.Clip()), r.Track); };
    int nextId = 0;
    // Phase 1: sorted inserts, many ties.
    for (int i = 0; i < 6000; ++i) {
        Row r;
        r.Name = std::string(1, static_cast<char>('a' + rng() % 20));
        r.Track = static_cast<std::uint16_t>(rng() % 10);
        r.Id = nextId++;
        q.rec = r;
        fw::ADD(q, "Name,Track");
        auto it = std::upper_bound(model.begin(), model.end(), r,
                                   [&](const Row& a, const Row& b) { return key(a) < key(b); });
        ASSERT_EQ(fw::POINTER(q), it - model.begin() + 1);
        model.insert(it, r);
    }
    // Phase 2: deletes, appends and puts at random positions.
    for (int i = 0; i < 4000; ++i) {
        const long pos = static_cast<long>(rng() % model.size()) + 1;
        fw::GET(q, pos);
        ASSERT_EQ(q.rec.Id, model[static_cast<std::size_t>(pos - 1)].Id);
        switch (rng() % 3) {
        case 0:
            fw::DELETE(q);
            model.erase(model.begin() + pos - 1);
            break;
        case 1:
            q.rec.Id = nextId++;
            fw::PUT(q);
            model[static_cast<std::size_t>(pos - 1)].Id = q.rec.Id;
            break;
        default:
            q.rec.Id = nextId++;
            fw::ADD(q);
            model.push_back(q.rec);
        }
    }
    ASSERT_EQ(static_cast<std::size_t>(fw::RECORDS(q)), model.size());
    for (std::size_t i = 0; i < model.size(); ++i) ASSERT_EQ(static_cast<const Row*>(q.Entry(i + 1))->Id, model[i].Id);
    // A stable sort agrees with the model's.
    fw::SORT(q, "-Track,Name");
    std::stable_sort(model.begin(), model.end(), [&](const Row& a, const Row& b) {
        return a.Track != b.Track ? a.Track > b.Track : a.Name.Clip() < b.Name.Clip();
    });
    for (std::size_t i = 0; i < model.size(); ++i) ASSERT_EQ(static_cast<const Row*>(q.Entry(i + 1))->Id, model[i].Id);
}

}  // namespace
