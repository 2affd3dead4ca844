#include "error_messages.h"

#include <exception>
#include <new>

#include "conversions/conversions.h"

namespace {

std::u16string RuntimeError(int number, std::u16string_view description) {
    return u"Run-time error '" + std::u16string(1, static_cast<char16_t>(u'0' + number)) +
           u"':\n\n" + std::u16string(description);
}

// The words of a standard library error, which are ASCII.
std::u16string Widened(const char* text) {
    std::u16string wide;
    for (; *text != '\0'; ++text) {
        wide += static_cast<char16_t>(static_cast<unsigned char>(*text));
    }
    return wide;
}

}  // namespace

ErrorMessage DescribeCurrentError(Tool tool) {
    try {
        throw;
    } catch (const conversions::ArithmeticOverflow& error) {
        return {
            RuntimeError(error.number(), u"Overflow"),
            Widened(tool == Tool::Pointer ? conversions::kOffsetLimits : conversions::kWordLimits)};
    } catch (const std::bad_alloc&) {
        return {RuntimeError(7, u"Out of memory"), u"The text is too long to work on."};
    } catch (const std::exception& error) {
        return {Widened(error.what()), {}};
    } catch (...) {
        return {u"An unexpected error occurred.", {}};
    }
}
