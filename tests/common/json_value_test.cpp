#include "common/json_value.h"

#include <gtest/gtest.h>

TEST(JsonValue, ReadsEveryKindAndWritesItBack) {
    const std::string text =
        R"({"a": 1.5, "b": [1, -2e3, 0.25], "c": {"d": "x\"y\\z\u00e9", "e": null}, "f": true, "g": false, "h": []})";
    auto value = parse_json(text);
    ASSERT_TRUE(value) << value.failure().message;
    EXPECT_EQ(value.value().find("a")->as_number(), 1.5);
    EXPECT_EQ(value.value().find("b")->as_array()[1].as_number(), -2000);
    EXPECT_EQ(value.value().find("c")->find("d")->as_string(), "x\"y\\z\xc3\xa9");
    EXPECT_TRUE(value.value().find("c")->find("e")->is_null());
    EXPECT_TRUE(value.value().find("f")->as_bool());
    auto again = parse_json(json_text(value.value()));
    ASSERT_TRUE(again);
    EXPECT_EQ(again.value(), value.value());
    // Members stay in file order.
    EXPECT_EQ(value.value().as_object()[4].first, "g");
}

TEST(JsonValue, NumbersRoundTripExactly) {
    const double tricky = 0.1 + 0.2;
    JsonValue value{JsonValue::Array{JsonValue(tricky), JsonValue(-1e-300), JsonValue(123456789.0)}};
    auto again = parse_json(json_text(value));
    ASSERT_TRUE(again);
    EXPECT_EQ(again.value().as_array()[0].as_number(), tricky);
    EXPECT_EQ(again.value().as_array()[1].as_number(), -1e-300);
}

TEST(JsonValue, RefusesWhatIsNotStrictJson) {
    for (const char* text : {"", "{", "[1,]", "{\"a\":1,}", "01", "1.", ".5", "NaN", "1e999", "'a'", "{a:1}",
                             "[1] 2", "\"\\x\"", "\"a\nb\"", "{\"a\":1,\"a\":2}", "\"\\ud800\"", "// c\n1", "tru"})
        EXPECT_FALSE(parse_json(text)) << text;
    EXPECT_TRUE(parse_json(" [1, 2] \n"));
    std::string deep(65, '[');
    deep += std::string(65, ']');
    EXPECT_FALSE(parse_json(deep));
    std::string fine(64, '[');
    fine += std::string(64, ']');
    EXPECT_TRUE(parse_json(fine));
}

TEST(JsonValue, FailureNamesTheLine) {
    auto value = parse_json("{\n\"a\": 1,\n\"b\": x\n}");
    ASSERT_FALSE(value);
    EXPECT_EQ(value.failure().message.rfind("line 3:", 0), 0u) << value.failure().message;
}

TEST(JsonValue, SetReplacesInPlaceAndEraseRemoves) {
    JsonValue object{JsonValue::Object{}};
    object.set("a", 1);
    object.set("b", 2);
    object.set("a", 3);
    EXPECT_EQ(object.as_object().size(), 2u);
    EXPECT_EQ(object.as_object()[0].second.as_number(), 3);
    object.erase("a");
    EXPECT_EQ(object.find("a"), nullptr);
    EXPECT_EQ(json_quoted("a\"\x01"), "\"a\\\"\\u0001\"");
}
