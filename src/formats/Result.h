#pragma once

// The one result of an operation that can fail (reading, writing, converting a file):
// ok, or the reason as a sentence for the user. Pages decide how to show it.

#include <QString>

namespace formats {

struct Result {
    bool ok = true;
    QString error; // the reason, when !ok

    static Result failed(const QString &why) { return {false, why}; }
};

} // namespace formats
