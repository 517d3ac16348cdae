// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile_data.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// The profile file: one JSON object in UTF-8.
//
// The reader and writer are our own rather than QJsonDocument, for two reasons:
// a whole number must be read exactly as a 64-bit integer however it is written
// (Qt reaches "9007199254740993.0" through a double and silently gets ...992),
// and the reader must see the number as written to tell 12.5 from 12.
// Numbers therefore stay text until the field that reads them decides:
// an integer field takes a whole number in the 64-bit range, written as plain
// digits or with a fraction or exponent ("12", "12.0", "1.2e1"), checked
// exactly on the decimal digits, however many there are; a double field takes
// any number below the largest finite double, converted with correct rounding
// (so one too small for a double reads as zero).
namespace ProfileJson {

// Documents larger than this are refused unread: a real profile stays far below
// a megabyte, so anything bigger is damage, not data.
inline constexpr qsizetype maxDocumentSize = 16 * 1024 * 1024;

// The profile as a human-readable document: members in ascending key order,
// four-space indentation, optional members left out when absent, doubles in
// the shortest form that reads back to the same value, members this version
// does not know written back as they were read. Empty when the profile
// holds a number JSON cannot express (NaN or infinity): such a profile is not
// written at all.
[[nodiscard]] QByteArray encode(const ProfileData &profile);

// What encode() makes of the profile, but only when decode() takes it back:
// nothing for a document over maxDocumentSize, over the reader's bounds on
// nesting and values, or one encode() cannot write. Whatever replaces a
// profile file comes from here, so that no save or merge ever leaves a file
// the next start cannot read.
[[nodiscard]] std::optional<QByteArray> encodeReadable(const ProfileData &profile);

// The profile a document holds, or nothing when any part of it is invalid:
// a missing required member, a member of the wrong JSON type, a fraction in an
// integer field, an unknown appearance, a lesson id that is not a decimal
// integer, malformed JSON or UTF-8, nesting deeper than 64 levels, more than
// 250 000 values (a full profile has some 4 000), or more than
// maxDocumentSize bytes. Member order, white space and a leading UTF-8 byte
// order mark do not matter; null reads as absent for the optional members.
// Unknown members of the top level, of the key statistics and of the day
// records are kept as their JSON text in extraMembers; those of other objects
// are ignored.
[[nodiscard]] std::optional<ProfileData> decode(QByteArrayView document);

} // namespace ProfileJson
