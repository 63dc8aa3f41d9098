#pragma once

#include <QByteArray>
#include <QList>
#include <archive.h>
#include <archive_entry.h>

// Zips made by the tests themselves, through libarchive's writer.
struct TZipEntry
{
    QByteArray Name;
    QByteArray Data;
    bool Folder = false;
    // Stored without compression, rather than deflated.
    bool Stored = false;
    // No size in the entry's header: the writer then puts it after the data, as a zip written
    // as a stream does.
    bool SizeUnknown = false;
};

// A zip of the entries; with a password, entries are encrypted the traditional PKWARE way.
// Empty when libarchive refuses (no encryption support built in, for one).
inline QByteArray MakeZip(const QList<TZipEntry>& entries, const char* password = nullptr)
{
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    bool ok = true;
    if (password)
        ok = archive_write_set_options(a, "zip:encryption=zipcrypt") == ARCHIVE_OK &&
             archive_write_set_passphrase(a, password) == ARCHIVE_OK;
    QByteArray zip(1 << 20, '\0');
    for (const TZipEntry& entry : entries)
        zip.resize(qMax(zip.size(), entry.Data.size() + (1 << 20)));
    size_t used = 0;
    ok = ok && archive_write_open_memory(a, zip.data(), size_t(zip.size()), &used) == ARCHIVE_OK;
    for (const TZipEntry& e : entries) {
        if (!ok)
            break;
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, e.Name.constData());
        archive_entry_set_filetype(entry, e.Folder ? AE_IFDIR : AE_IFREG);
        archive_entry_set_perm(entry, e.Folder ? 0755 : 0644);
        if (!e.SizeUnknown || e.Folder)
            archive_entry_set_size(entry, e.Folder ? 0 : e.Data.size());
        ok = (e.Stored ? archive_write_zip_set_compression_store(a)
                       : archive_write_zip_set_compression_deflate(a)) == ARCHIVE_OK &&
             archive_write_header(a, entry) == ARCHIVE_OK;
        if (ok && !e.Folder && !e.Data.isEmpty())
            ok = archive_write_data(a, e.Data.constData(), size_t(e.Data.size())) ==
                 la_ssize_t(e.Data.size());
        archive_entry_free(entry);
    }
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    if (!ok)
        return {};
    zip.truncate(qsizetype(used));
    return zip;
}
