// The plugin byeorisol-sword: SWORD's library behind the two functions SwordPlugin.h names. It links SWORD's library
// and QtCore, nothing of the program's: a verse's markup is made text by the function the program hands over.
#include "import/SwordPlugin.h"

#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <stop_token>
#include <swlog.h>
#include <swmgr.h>
#include <swmodule.h>
#include <thread>
#include <utility>
#include <versekey.h>

namespace importer {

namespace {

const char* const kBibleType = "Biblical Texts";

// SWORD's library, quiet: a module folder it cannot read is no message on the terminal.
std::unique_ptr<sword::SWMgr> swordLibrary()
{
    sword::SWLog::getSystemLog()->setLogLevel(0);
    return std::make_unique<sword::SWMgr>();
}

// The verses taken from the module at a time, and how many such batches the walk may be ahead of the run.
constexpr qsizetype kBatchSize = 256;
constexpr qsizetype kBatchesAhead = 8;

struct WalkedVerse
{
    qint64 index = 0; // in the module's versification
    QString key;
    QString text;
};

// Walks the module on a thread of its own, a few batches of verses ahead of the run that takes them: SWORD's reading
// of its files and the run's checking and storing of the verses go on side by side.
class SwordBibleWalk final : public SwordModuleWalk
{
public:
    SwordBibleWalk(std::unique_ptr<sword::SWMgr> library, sword::SWModule& module, MarkupText markupText)
        : m_library(std::move(library)), m_module(module), m_verses(dynamic_cast<sword::VerseKey*>(m_module.getKey())),
          m_markupText(markupText)
    {
        if (m_verses != nullptr) {
            m_verses->setIntros(false);
            m_module.setPosition(sword::BOTTOM);
            m_size = m_verses->getIndex();
        }
        m_walker = std::jthread([this](const std::stop_token& stop) { walk(stop); });
    }

    bool next(qint64& index, QString& key, QString& text) override
    {
        if (m_taken == m_batch.size()) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_batches.empty() || m_walked; });
            if (m_batches.empty()) {
                return false;
            }
            m_batch = std::move(m_batches.front());
            m_batches.pop_front();
            m_taken = 0;
            m_changed.notify_all();
        }
        WalkedVerse& verse = m_batch[m_taken++];
        index = verse.index;
        key = std::move(verse.key);
        text = std::move(verse.text);
        return true;
    }

    qint64 size() const override { return m_size; }

private:
    void walk(const std::stop_token& stop)
    {
        const char* encoding = m_module.getConfigEntry("Encoding");
        const bool utf8 = encoding != nullptr && std::strcmp(encoding, "UTF-8") == 0;
        // The module's own markup is taken as an OSIS file's is; Latin-1 and UTF-8 are read as they are stored. Any
        // other markup or encoding goes through SWORD's plain text, which gives UTF-8.
        const bool raw = m_module.getMarkup() == sword::FMT_OSIS && (utf8 || encoding == nullptr);
        QList<WalkedVerse> batch;
        for (m_module.setPosition(sword::TOP); m_module.popError() == 0 && !stop.stop_requested();
             m_module.increment()) {
            WalkedVerse& verse = batch.emplace_back();
            verse.index = m_verses != nullptr ? m_verses->getIndex() : batch.size();
            verse.key = QString::fromUtf8(m_module.getKeyText());
            if (raw) {
                const char* markup = m_module.getRawEntry();
                verse.text = m_markupText(utf8 ? QString::fromUtf8(markup) : QString::fromLatin1(markup));
            } else {
                verse.text = QString::fromUtf8(m_module.stripText()).simplified();
            }
            if (batch.size() == kBatchSize && !hand(std::exchange(batch, {}), stop)) {
                return;
            }
        }
        hand(std::move(batch), stop);
        const std::lock_guard lock(m_mutex);
        m_walked = true;
        m_changed.notify_all();
    }

    // Hands a batch to the run once it is few enough batches ahead; false when the walk is to stop.
    bool hand(QList<WalkedVerse> batch, const std::stop_token& stop)
    {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait(lock, stop, [this] { return m_batches.size() < kBatchesAhead; })) {
            return false;
        }
        if (!batch.isEmpty()) {
            m_batches.push_back(std::move(batch));
        }
        m_changed.notify_all();
        return true;
    }

    std::unique_ptr<sword::SWMgr> m_library;
    sword::SWModule& m_module;
    sword::VerseKey* m_verses;
    MarkupText m_markupText;
    qint64 m_size = 0;
    // Between the walk and the run: the batches walked and not yet taken, and whether the walk has ended.
    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::deque<QList<WalkedVerse>> m_batches;
    bool m_walked = false;
    // The run's side: the batch it takes verses from, and how many it has taken.
    QList<WalkedVerse> m_batch;
    qsizetype m_taken = 0;
    std::jthread m_walker; // last: it ends before anything it uses
};

} // namespace

} // namespace importer

extern "C" Q_DECL_EXPORT void byeorisolListSwordBibles(QList<importer::SwordModule>& bibles)
{
    const std::unique_ptr<sword::SWMgr> library = importer::swordLibrary();
    for (const auto& [name, module] : library->getModules()) {
        if (std::strcmp(module->getType(), importer::kBibleType) == 0) {
            bibles.append({QString::fromUtf8(name.c_str()), QString::fromUtf8(module->getDescription())});
        }
    }
}

extern "C" Q_DECL_EXPORT importer::SwordModuleWalk* byeorisolOpenSwordBible(const QString& name,
                                                                            importer::MarkupText markupText)
{
    std::unique_ptr<sword::SWMgr> library = importer::swordLibrary();
    sword::SWModule* module = library->getModule(name.toUtf8().constData());
    if (module == nullptr || std::strcmp(module->getType(), importer::kBibleType) != 0) {
        return nullptr;
    }
    return new importer::SwordBibleWalk(std::move(library), *module, markupText);
}
