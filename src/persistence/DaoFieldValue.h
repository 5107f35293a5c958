#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

// The value of one field as the engine delivers it (the variant of the DAO
// classes): NULL, an integer, a floating-point number or a text.
class CDaoFieldValue {
public:
    CDaoFieldValue() = default;
    explicit CDaoFieldValue(std::int64_t value) : m_value(value) {}
    explicit CDaoFieldValue(double value) : m_value(value) {}
    explicit CDaoFieldValue(std::string text) : m_value(std::move(text)) {}
    // NULL for nullopt: what a read-only engine delivering texts hands over.
    explicit CDaoFieldValue(std::optional<std::string> text);

    bool IsNull() const { return std::holds_alternative<std::monostate>(m_value); }

    // As a 32-bit integer: NULL gives 0; a text must be a whole decimal
    // number; anything outside the range raises CDaoException.
    std::int32_t AsLong() const;
    // As text: NULL gives the empty text, numbers their decimal form.
    std::string AsText() const;

private:
    std::variant<std::monostate, std::int64_t, double, std::string> m_value;
};
