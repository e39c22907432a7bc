// One language on screen: with German chosen, every window, tooltip and message shows no
// English text of ours. The English side of every table of ours (all areas, so texts added
// later are watched too) and of the program's table is looked for in everything visible.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QTreeWidget>

#include <optional>
#include <regex>
#include <set>

#include "config/Dialog2.h"
#include "firmware/Dialog.h"
#include "form1_fixture.h"
#include "resources/text_entry.h"

namespace orvane::test {
namespace {

struct Shown {
    std::string text;
    std::string where; // object names from the window down
};

std::string pathOf(const QObject* o) {
    std::string path;
    for (; o; o = o->parent())
        path = o->objectName().toStdString() + "/" + path;
    return path;
}

void add(std::vector<Shown>& out, const QString& text, const QObject* o) {
    if (!text.trimmed().isEmpty()) out.push_back({text.toStdString(), pathOf(o)});
}

// Everything a user can read in a window: captions, titles, tooltips, fields, list items.
std::vector<Shown> shownTexts(const QWidget& window) {
    std::vector<Shown> out;
    auto widgets = window.findChildren<QWidget*>();
    widgets.prepend(const_cast<QWidget*>(&window));
    for (const QWidget* w : widgets) {
        add(out, w->windowTitle(), w);
        add(out, w->toolTip(), w);
        if (auto* b = qobject_cast<const QAbstractButton*>(w)) add(out, b->text(), w);
        if (auto* l = qobject_cast<const QLabel*>(w)) add(out, l->text(), w);
        if (auto* g = qobject_cast<const QGroupBox*>(w)) add(out, g->title(), w);
        if (auto* e = qobject_cast<const QLineEdit*>(w)) {
            add(out, e->text(), w);
            add(out, e->placeholderText(), w);
        }
        if (auto* p = qobject_cast<const QPlainTextEdit*>(w)) add(out, p->toPlainText(), w);
        if (auto* t = qobject_cast<const QTextEdit*>(w)) add(out, t->toPlainText(), w);
        if (auto* tabs = qobject_cast<const QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i) {
                add(out, tabs->tabText(i), w);
                add(out, tabs->tabToolTip(i), w);
            }
        if (auto* c = qobject_cast<const QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                add(out, c->itemText(i), w);
        if (auto* list = qobject_cast<const QListWidget*>(w))
            for (int i = 0; i < list->count(); ++i)
                add(out, list->item(i)->text(), w);
        if (auto* tree = qobject_cast<const QTreeWidget*>(w)) {
            for (int c = 0; c < tree->columnCount(); ++c)
                add(out, tree->headerItem()->text(c), w);
            for (int r = 0; r < tree->topLevelItemCount(); ++r)
                for (int c = 0; c < tree->columnCount(); ++c)
                    add(out, tree->topLevelItem(r)->text(c), w);
        }
        if (auto* table = qobject_cast<const QTableWidget*>(w))
            for (int r = 0; r < table->rowCount(); ++r)
                for (int c = 0; c < table->columnCount(); ++c)
                    if (table->item(r, c)) add(out, table->item(r, c)->text(), w);
    }
    return out;
}

// An English text that must not show under German: the whole text; a text with places
// filled in ("%1") as a pattern whose places take anything; and each piece of it long
// enough to be a phrase, found also inside other texts.
struct EnglishText {
    int id;
    std::string whole;
    std::optional<std::regex> pattern;
    std::vector<std::string> phrases;
};

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \r\n") + 1 - first);
}

std::vector<EnglishText> englishTexts() {
    std::vector<EnglishText> texts;
    const auto collect = [&](std::span<const TextEntry> table) {
        for (const TextEntry& e : table) {
            if (e.english == e.german) continue;
            EnglishText t{e.id + 1000, std::string(e.english), {}, {}};
            static const std::regex place(R"(%[1-9])");
            static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
            std::string pattern;
            std::size_t literal = 0;
            for (std::sregex_token_iterator it(t.whole.begin(), t.whole.end(), place, -1), end;
                 it != end; ++it) {
                const std::string piece = *it;
                if (!pattern.empty()) pattern += R"([^\n]+?)"; // a place holds no line end
                pattern += std::regex_replace(piece, special, R"(\$&)");
                literal += piece.size();
                const std::string phrase = trimmed(piece);
                if (phrase.size() >= 16 && phrase.find(' ') != std::string::npos)
                    t.phrases.push_back(phrase);
            }
            if (literal != t.whole.size() && literal >= 8) t.pattern.emplace(pattern);
            texts.push_back(std::move(t));
        }
    };
    collect(programTexts());
    for (const auto& area : ourTextAreas())
        collect(area);
    return texts;
}

// English texts that the program shows in both languages, where they show.
bool fixedInEnglish(const Shown& s) {
    // The configuration dialog's diagnostic panel keeps its English captions.
    static const std::set<std::string> debugPanel{"Read:", "Write:", "Clear"};
    return debugPanel.contains(s.text) && s.where.find("/debugPage/") != std::string::npos;
}

std::vector<std::string> englishShown(const std::vector<Shown>& shown) {
    static const std::vector<EnglishText> english = englishTexts();
    std::vector<std::string> found;
    std::set<std::string> seen;
    for (const Shown& s : shown) {
        if (!seen.insert(s.where + s.text).second) continue;
        if (fixedInEnglish(s)) continue;
        for (const EnglishText& e : english) {
            bool hit = s.text == e.whole || (e.pattern && std::regex_search(s.text, *e.pattern));
            for (const std::string& phrase : e.phrases)
                hit = hit || s.text.find(phrase) != std::string::npos;
            if (hit) found.push_back(std::to_string(e.id) + " in " + s.where + ": " + s.text);
        }
    }
    return found;
}

class GermanTextsTest : public Form1Test {
protected:
    std::vector<Shown> shown;

    void look(const QWidget& window) {
        for (Shown& s : shownTexts(window))
            shown.push_back(std::move(s));
    }

    // Opens every window with the interface listed and runs what shows our own texts:
    // a failed read, a transmit asked about and failed, closing asked about, a refused
    // firmware file, the about box. Returns what the user could read, messages included.
    std::vector<std::string> walkAllWindows(const char* countryCode) {
        locale.countryCode = countryCode;
        FakeDevice interface = listedInterface();
        api.devices = {interface, unlistedLoader()};
        start();
        form->show();
        select(0);
        form->DeviceList_Click();
        look(*form);

        ui.onModal = [&](QDialog& d) {
            if (auto* config = qobject_cast<Dialog2*>(&d)) {
                config->TimerStartupRead_Timer(); // the interface answers nothing
                look(d);
                config->Command14_Click();
                look(d);
                for (auto* tabs : d.findChildren<QTabWidget*>())
                    tabs->setCurrentIndex(tabs->count() - 1);
                look(d);
                d.reject();
            } else if (auto* firmware = qobject_cast<Dialog*>(&d)) {
                ui.openNames.push_back("/nonexistent/firmware.hex");
                firmware->open_Command_Click();
                look(d);
            } else {
                look(d);
            }
        };
        form->OpenDev2_Click(0);
        form->Console_Command_Click();
        form->OpenDev_Click(0);
        form->Help_Command_Click();
        EXPECT_EQ(ui.modalWindows,
                  (std::vector<std::string>{"Dialog2", "Dialog1", "Dialog", "frmAbout"}));

        std::vector<std::string> found = englishShown(shown);
        for (const MessageBoxRequest& m : ui.messages) {
            for (std::string& f : englishShown({{m.text, "message box"}, {m.title, "title"}}))
                found.push_back(std::move(f));
        }
        return found;
    }
};

TEST_F(GermanTextsTest, NoEnglishTextOfOursShowsInAnyWindowUnderGerman) {
    const auto found = walkAllWindows("49");
    EXPECT_TRUE(found.empty()) << ::testing::PrintToString(found);
    // The walk reached the texts it is about: outcome, questions and the file refusal.
    EXPECT_GE(ui.messages.size(), 3u);
}

// The same walk in English finds our texts: the look would see them under German.
TEST_F(GermanTextsTest, TheSameWalkInEnglishFindsOurEnglishTexts) {
    const auto found = walkAllWindows("1");
    const auto has = [&](int id) {
        const std::string key = std::to_string(id) + " in ";
        return std::any_of(found.begin(), found.end(),
                           [&](const std::string& f) { return f.rfind(key, 0) == 0; });
    };
    EXPECT_TRUE(has(1000 + 705) || has(1000 + 708) || has(1000 + 711)) << "sequence outcome";
    EXPECT_TRUE(has(1000 + 743)) << "transmit question";
    EXPECT_TRUE(has(1000 + 751)) << "firmware file refusal";
    EXPECT_TRUE(has(1000 + 780)) << "console tooltip";
    EXPECT_TRUE(has(1001)) << "main window's hint";
}

} // namespace
} // namespace orvane::test
