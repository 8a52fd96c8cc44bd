#pragma once
// A small, strict JSON value with a reader and a writer, for the program's
// own small files (camera profiles). Objects keep their members in file
// order, so a file read and written again changes only what was edited and
// keeps keys this version does not know.
//
// The reader takes RFC 8259 JSON only: no comments, no trailing commas, no
// NaN, nesting at most 64 deep, one value and nothing but white space after
// it. Numbers are doubles read in the C locale.

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "common/result.h"

class JsonValue {
public:
    using Array = std::vector<JsonValue>;
    using Object = std::vector<std::pair<std::string, JsonValue>>;

    JsonValue() = default;  // null
    JsonValue(bool value) : data_(value) {}
    JsonValue(double value) : data_(value) {}
    JsonValue(int value) : data_(static_cast<double>(value)) {}
    JsonValue(const char* value) : data_(std::string(value)) {}
    JsonValue(std::string value) : data_(std::move(value)) {}
    JsonValue(Array value) : data_(std::move(value)) {}
    JsonValue(Object value) : data_(std::move(value)) {}

    bool is_null() const { return data_.index() == 0; }
    bool is_bool() const { return data_.index() == 1; }
    bool is_number() const { return data_.index() == 2; }
    bool is_string() const { return data_.index() == 3; }
    bool is_array() const { return data_.index() == 4; }
    bool is_object() const { return data_.index() == 5; }

    bool as_bool() const { return std::get<bool>(data_); }
    double as_number() const { return std::get<double>(data_); }
    const std::string& as_string() const { return std::get<std::string>(data_); }
    const Array& as_array() const { return std::get<Array>(data_); }
    Array& as_array() { return std::get<Array>(data_); }
    const Object& as_object() const { return std::get<Object>(data_); }
    Object& as_object() { return std::get<Object>(data_); }

    // An object's member, or nullptr (also when this is no object).
    const JsonValue* find(const std::string& key) const;
    // Sets an object's member in place, or appends it when new.
    void set(const std::string& key, JsonValue value);
    // Removes an object's member if present.
    void erase(const std::string& key);

    friend bool operator==(const JsonValue&, const JsonValue&) = default;

private:
    std::variant<std::monostate, bool, double, std::string, Array, Object> data_;
};

Result<JsonValue> parse_json(const std::string& text);

// Two-space indented text ending in a newline; arrays of numbers only stay
// on one line so curves read as rows. Numbers in their shortest form that
// reads back to the same double; NaN and infinities are written as null.
std::string json_text(const JsonValue& value);

// A JSON string literal: quotes, backslashes and control characters escaped.
std::string json_quoted(const std::string& text);

// A number in its shortest form that reads back to the same double; null
// for NaN and infinities.
std::string json_number(double value);
