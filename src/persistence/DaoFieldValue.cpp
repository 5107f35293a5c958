#include "persistence/DaoFieldValue.h"

#include "persistence/DaoException.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

std::int32_t Narrow(std::int64_t value, const std::string& shown) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        throw CDaoException("Der Wert '" + shown +
                            "' liegt außerhalb des Bereichs einer ganzen Zahl.");
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

CDaoFieldValue::CDaoFieldValue(std::optional<std::string> text) {
    if (text) {
        m_value = std::move(*text);
    }
}

std::int32_t CDaoFieldValue::AsLong() const {
    if (const auto* integer = std::get_if<std::int64_t>(&m_value)) {
        return Narrow(*integer, std::to_string(*integer));
    }
    if (const auto* real = std::get_if<double>(&m_value)) {
        if (std::isfinite(*real) && std::trunc(*real) == *real && std::fabs(*real) < 1e18) {
            return Narrow(static_cast<std::int64_t>(*real), AsText());
        }
        throw CDaoException("Der Wert '" + AsText() + "' ist keine ganze Zahl.");
    }
    if (const auto* text = std::get_if<std::string>(&m_value)) {
        // Blanks around the number are tolerated, as the engine's own
        // conversion of text to a number does.
        const size_t first = text->find_first_not_of(' ');
        const size_t last = text->find_last_not_of(' ');
        std::int64_t value = 0;
        if (first != std::string::npos) {
            const char* begin = text->data() + first;
            const char* end = text->data() + last + 1;
            if (*begin == '+' && begin + 1 < end && begin[1] != '-') {
                ++begin;
            }
            const auto [stop, error] = std::from_chars(begin, end, value);
            if (error == std::errc() && stop == end) {
                return Narrow(value, *text);
            }
            if (error == std::errc::result_out_of_range) {
                return Narrow(std::numeric_limits<std::int64_t>::max(), *text);
            }
        }
        throw CDaoException("Der Wert '" + *text + "' ist keine ganze Zahl.");
    }
    return 0;
}

std::string CDaoFieldValue::AsText() const {
    if (const auto* text = std::get_if<std::string>(&m_value)) {
        return *text;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&m_value)) {
        return std::to_string(*integer);
    }
    if (const auto* real = std::get_if<double>(&m_value)) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.15g", *real);
        return buffer;
    }
    return {};
}
