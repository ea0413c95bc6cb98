#pragma once

// The rules for what Tamsel keeps under the user's folders (the settings
// file today; the history database and the single-instance socket use the
// same): made owner-only, in a real folder the user owns, never written
// through a symbolic link. Another user who can write a shared parent folder
// must not be able to make Tamsel write or chmod a file of their choosing.

#include <sys/types.h>
#include <QString>

namespace tamsel::qt {

enum class Create { No, Yes };

// Why `folder` cannot hold private files; empty when it can: a real folder
// (not a symbolic link) owned by this user. An absent folder is made owner-
// only, with its parents, when `create` says so, else accepted as it is.
// A folder that passes is narrowed to owner-only.
QString whyNotPrivateFolder(const QString& folder, Create create);

// Why `file` must not be written; empty when it is absent, or a plain file
// (not a symbolic link) owned by this user.
QString whyNotWritable(const QString& file);

// Narrows a plain file to owner-only; a link or anything else is left alone.
void makeOwnerOnly(const QString& file);

// Files and folders created while it lives are owner-only (umask 077); the
// process' own umask comes back after, so programs it starts keep theirs.
class OwnerOnlyFiles {
public:
    OwnerOnlyFiles();
    ~OwnerOnlyFiles();
    OwnerOnlyFiles(const OwnerOnlyFiles&) = delete;
    OwnerOnlyFiles& operator=(const OwnerOnlyFiles&) = delete;

private:
    mode_t saved_;
};

}  // namespace tamsel::qt
