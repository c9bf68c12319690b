#pragma once
// Pictures decoded before they are asked for. A set of PNG files, named once, is decoded by one
// worker thread at the lowest priority while the program is idle, and the pictures stay decoded
// for the object's life, so that showing one later costs no decoding. A file asked for before the
// worker reached it is decoded at once by the caller (and kept), and the worker skips it. The
// caller never waits for the worker: a file asked for while the worker is in the middle of it is
// decoded by the caller as well (the worker, at the lowest priority, may be starved by the rest of
// the machine), and the worker's copy is dropped. No file is decoded twice otherwise.
//
// Files outside the set are decoded on every request and not kept.
//
// The decoded pictures are 32-bit RGB and shared: a copy handed out holds no pixels of its own.

#include <QImage>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

class CDecodedPictures
{
public:
    CDecodedPictures() = default;
    // Stops the worker: a decode under way is abandoned at its next read of the file.
    ~CDecodedPictures();
    CDecodedPictures(const CDecodedPictures &) = delete;
    CDecodedPictures &operator=(const CDecodedPictures &) = delete;

    // The files to keep decoded, in the order the worker takes them; added to those named before.
    // Empty paths are ignored.
    void Keep(const QStringList &paths);
    // Starts the worker on the kept files not yet decoded. Later calls do nothing.
    void StartBackground();
    // Blocks until the worker has gone through every kept file (or at once when it never started).
    void WaitForBackground() const;

    // Whether every one of `paths` is kept and already decoded (successfully or not).
    bool AreReady(const QStringList &paths) const;
    // The pictures of `paths`, a null image where decoding failed or the path is empty. Kept and
    // decoded files come at once; the rest are decoded here, side by side on the machine's cores,
    // the largest first.
    std::vector<QImage> Take(const QStringList &paths);
    // Decodes begun so far, by the worker and by Take.
    int DecodeCount() const { return m_nDecodes.load(); }

    // Decodes one PNG file completely; false (and a null image) on any failure, and when `cancel`
    // becomes true while it runs.
    static bool Decode(const QString &path, QImage *image, const std::atomic<bool> *cancel = nullptr);

private:
    enum class State { Waiting, Decoding, Done };
    struct Entry {
        State state = State::Waiting;
        QImage image;  // when Done: the picture, or null when it failed
    };
    void Work();
    bool DecodeCounted(const QString &path, QImage *image);

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;  // the worker has ended
    std::map<QString, Entry> m_entries;
    QStringList m_order;  // the kept files, in the worker's order
    std::thread m_worker;
    bool m_bWorking = false;  // the worker has started and not yet ended
    std::atomic<bool> m_bStop{false};
    std::atomic<int> m_nDecodes{0};
};
