#pragma once

// The three versions of the paper form, free of Qt: the class list, its files
// and the screens share them.

#include <array>
#include <optional>
#include <string_view>

// Which paper a child's row was copied from: the menu button that last
// opened the front side.
enum class FormVersion { Parent, Teacher, Pupil };
inline constexpr int kFormVersionCount = 3;

// In the menu's order.
inline constexpr std::array<FormVersion, kFormVersionCount> kFormVersions {
    FormVersion::Parent, FormVersion::Teacher, FormVersion::Pupil};

// The version as the program names it to the user.
constexpr std::u16string_view versionWord(FormVersion version)
{
    switch (version) {
    case FormVersion::Parent:
        return u"ผู้ปกครอง";
    case FormVersion::Teacher:
        return u"ครูประจำชั้น";
    case FormVersion::Pupil:
        return u"นักเรียน";
    }
    return {};
}

// The version as files write it; never translated, so that a file reads the
// same in every build.
constexpr std::string_view versionKey(FormVersion version)
{
    switch (version) {
    case FormVersion::Parent:
        return "parent";
    case FormVersion::Teacher:
        return "teacher";
    case FormVersion::Pupil:
        return "pupil";
    }
    return {};
}

// The version a file's key names, or none for a key no version writes.
std::optional<FormVersion> versionFromKey(std::string_view key);
