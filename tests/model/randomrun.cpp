#include "randomrun.h"

#include <QElapsedTimer>

#include <functional>
#include <utility>

using namespace Qt::StringLiterals;
using Model::Action;
using Model::ActionKind;
using Model::ScreenId;

namespace RandomRun {

namespace {

// The boxes of one back-side question, or of one row of its grid.
std::vector<int> backGroupOf(int box)
{
    static const std::vector<std::vector<int>> groups {
        {1, 2, 3, 4}, // difficulties
        {6, 5, 7, 8}, // duration
        {10, 9, 11, 12}, // upset
        {13, 14, 15, 16}, // home life
        {17, 18, 19, 20}, // friendships
        {21, 22, 23, 24}, // classroom learning
        {25, 26, 27, 28}, // leisure
        {35, 36, 34, 33}, // burden
    };
    for (const std::vector<int> &group : groups)
        for (int member : group)
            if (member == box)
                return group;
    return {box};
}

bool ticked(const Model::Box &box)
{
    return box.state == Model::BoxState::Ticked;
}

// Whether a paper's side looks done to its copier: a tick on every item, or
// on "ไม่" or every row of the back side.
bool frontDone(const Model::Program &model)
{
    for (int item = 1; item <= 25; ++item) {
        bool answered = false;
        for (int box : Model::frontItemBoxes(item))
            answered = answered || ticked(model.front().boxes[static_cast<std::size_t>(box)]);
        if (!answered)
            return false;
    }
    return true;
}

bool backDone(const Model::Program &model)
{
    const auto &boxes = model.back().boxes;
    if (ticked(boxes[1]))
        return true;
    for (int first : {1, 5, 9, 13, 17, 21, 25, 33}) {
        bool answered = false;
        for (int box : backGroupOf(first))
            answered = answered || ticked(boxes[static_cast<std::size_t>(box)]);
        if (!answered)
            return false;
    }
    return true;
}

// The actions of the applicable prefix: those the model lets happen, in order.
std::vector<Action> applicable(const std::vector<Action> &actions)
{
    Model::Program model;
    std::vector<Action> kept;
    for (const Action &action : actions) {
        if (!model.canApply(action))
            continue;
        model.apply(action);
        kept.push_back(action);
    }
    return kept;
}

void recordCoverage(
    const Action &action, const Model::Program &model, const Model::Outcome &outcome, Coverage &coverage)
{
    ++coverage.actions;
    const std::string screen = Model::screenName(action.screen);
    if (outcome.warningShown)
        coverage.add("warning answered");
    const bool ending = action.screen == ScreenId::Menu
        && (action.kind == ActionKind::PressButton || action.kind == ActionKind::CloseBox);
    const std::string how = action.kind == ActionKind::CloseBox ? "close box of " + screen
                                                                : screen + ".Command" + std::to_string(action.control);
    if (outcome.programEnded)
        coverage.add("program ended: " + how + (outcome.questionShown ? " after the question" : ""));
    else if (ending && outcome.questionShown)
        coverage.add(std::string("program kept by the question: ") + Model::replyName(action.reply));
    switch (action.kind) {
    case ActionKind::PressButton:
        if (action.screen == ScreenId::Front && action.control == 1) {
            static const std::array<const char *, 6> lines {"area 1", "area 2", "area 3", "area 4", "total", "social"};
            for (std::size_t line = 0; line < lines.size(); ++line) {
                const std::string &band = model.front().bands[line];
                coverage.add(std::string("Form3 ") + lines[line] + ": " + (band.empty() ? "beyond every range" : band));
            }
        }
        if (action.screen == ScreenId::Back && action.control == 2) {
            const std::string &severity = model.back().label18;
            coverage.add("Form4 severity: " + (severity.empty() ? std::string("beyond every range") : severity));
        }
        break;
    case ActionKind::CloseBox:
        coverage.add("close box of " + screen);
        break;
    case ActionKind::GrayBoxByCode:
        coverage.add("grayed by code on " + screen);
        break;
    case ActionKind::TypeIntoText:
        coverage.add("typed into Form4.Text1");
        break;
    case ActionKind::ClickBox:
    case ActionKind::SpaceOnBox:
        if (action.screen == ScreenId::Back && action.control == 1 && outcome.warningShown)
            coverage.add(std::string("warning answered with ") + Model::answerName(action.answer));
        break;
    case ActionKind::KeyOnBox:
        coverage.add(screen + " key: " + Model::shapeName(action.shape));
        if (outcome.focus.rfind("Command", 0) == 0)
            coverage.add(screen + " key moved the focus to " + outcome.focus);
        if (outcome.focus.empty())
            coverage.add(screen + " key on a disabled box");
        if (outcome.warningShown)
            coverage.add("warning by a key");
        break;
    case ActionKind::Copy:
        coverage.add("copy " + std::to_string(static_cast<int>(action.copy)) + " on " + screen);
        break;
    case ActionKind::SheetKey:
        coverage.add(std::string(Model::sheetKeyName(action.key)) + " on " + screen);
        if (!Model::finishes(action.key))
            break;
        if (outcome.childAdded && !outcome.paperMended && model.classList().papers.back().pupil != 0)
            coverage.add("paper went to a pupil of the roster");
        if (outcome.paperMended)
            coverage.add("mended paper back in its row");
        else if (outcome.childAdded)
            coverage.add(
                model.classList().papers.back().row.remark.empty() ? "child added" : "child added with a remark");
        else if (outcome.focusScreen)
            coverage.add("finish stopped by the " + std::string(Model::screenName(*outcome.focusScreen)) + " notice");
        else
            coverage.add("finish with nothing ticked");
        break;
    case ActionKind::ListButton:
        coverage.add(std::string("ClassList.") + Model::listButtonName(action.listButton)
            + (!outcome.questionShown                    ? ""
                    : action.reply == Model::Reply::GoOn ? " done"
                                                         : std::string(" kept by ") + Model::replyName(action.reply)));
        break;
    case ActionKind::ListCloseBox:
        coverage.add("close box of ClassList");
        break;
    case ActionKind::ListEnter:
        coverage.add(model.classList().mending ? "mending from the list" : "Enter on a row without a paper");
        if (outcome.questionShown)
            coverage.add(std::string("mending asked: ") + Model::replyName(action.reply));
        break;
    case ActionKind::PasteRoster:
        coverage.add("roster pasted");
        break;
    case ActionKind::ChooseView:
        coverage.add("view " + std::to_string(action.view));
        break;
    }
    if (action.kind == ActionKind::PressButton && action.screen == ScreenId::Front && action.control == 1) {
        const std::string &notice = model.front().notice;
        coverage.add(notice.empty()                      ? "Form3 notice empty"
                : notice.find('\n') != std::string::npos ? "Form3 notice of two lines"
                                                         : "Form3 notice of one line");
    }
    if (action.kind == ActionKind::PressButton && action.screen == ScreenId::Back && action.control == 2)
        coverage.add(model.back().notice.empty() ? "Form4 notice empty" : "Form4 notice shown");
}

struct Episode {
    std::vector<Action> history;
    QStringList differences;
};

Episode runEpisode(std::uint64_t seed, long long budget, const Settings &settings, Coverage *coverage)
{
    Episode episode;
    ActionPicker picker(seed);
    Model::Program model;
    ScreenDriver driver(settings.sabotage);
    episode.differences = driver.differences(model, {});
    while (episode.differences.isEmpty() && !model.ended() && static_cast<long long>(episode.history.size()) < budget) {
        const Action action = picker.next(model);
        const Model::Outcome outcome = model.apply(action);
        driver.perform(action);
        episode.history.push_back(action);
        if (coverage)
            recordCoverage(action, model, outcome, *coverage);
        episode.differences = driver.differences(model, outcome);
    }
    return episode;
}

} // namespace

long long Coverage::count(const std::string &event) const
{
    const auto found = counts.find(event);
    return found == counts.end() ? 0 : found->second;
}

long long Coverage::countStartingWith(const std::string &prefix) const
{
    long long total = 0;
    for (auto event = counts.lower_bound(prefix); event != counts.end() && event->first.rfind(prefix, 0) == 0; ++event)
        total += event->second;
    return total;
}

QString Coverage::summary() const
{
    QString text = u"%1 actions in %2 runs of the program\n"_s.arg(actions).arg(episodes);
    for (const auto &[event, count] : counts)
        text += u"  %1  %2\n"_s.arg(count, 8).arg(QString::fromStdString(event));
    return text;
}

ActionPicker::ActionPicker(std::uint64_t seed)
    : m_random(seed)
    , m_classRandom(seed ^ 0x9e3779b97f4a7c15u)
{
    m_onePerItem = uniform() < 0.6;
    for (double &weight : m_columnWeights)
        weight = 0.2 + uniform();
    m_keepTicks = m_onePerItem ? 0.0 : 0.9 * uniform();
    m_restarts = 0.05 + uniform();
    // Keys answer one column per item; users who pile ticks up use them less.
    m_keys = uniform() < 0.3 ? 0.0 : uniform() * uniform() * (m_onePerItem ? 3.0 : 0.5);
    m_layout = static_cast<Model::KeyShape>(pick(Model::kKeyShapeCount - 1)); // Delete is no layout
    // Those who tick one box an item copy papers, and some a whole class by
    // keys, paper after paper. Those who pile ticks up never finish a child.
    m_copiesClass = m_onePerItem;
    if (m_copiesClass && classUniform() < 0.5) {
        m_keys = 4.0 + 4.0 * classUniform();
        m_steady = 0.98;
    }
    m_classSize = std::uniform_int_distribution<int>(1, 6)(m_classRandom);
}

// Ending the program or losing rows asks first: the user goes on about half the time.
Model::Reply ActionPicker::reply()
{
    if (classUniform() < 0.5)
        return Model::Reply::GoOn;
    return static_cast<Model::Reply>(std::uniform_int_distribution<int>(1, Model::kReplyCount - 1)(m_classRandom));
}

Model::KeyShape ActionPicker::keyShape()
{
    if (uniform() < 0.75)
        return m_layout;
    return static_cast<Model::KeyShape>(pick(Model::kKeyShapeCount - 1));
}

Action ActionPicker::keyOnBox(const Model::Program &model, ScreenId screen)
{
    Action action;
    action.kind = ActionKind::KeyOnBox;
    action.screen = screen;
    action.answer = static_cast<Model::WarningAnswer>(pick(4));
    action.shape = keyShape();
    const std::optional<Model::Program::KeyFocus> focus = model.keyFocus();
    const bool goOn = focus && focus->screen == screen && focus->box != 0 && uniform() < m_steady; // as the keys lead
    const bool front = screen == ScreenId::Front;
    std::discrete_distribution<int> column(m_columnWeights.begin(), m_columnWeights.end());
    if (goOn)
        action.control = focus->box;
    else if (uniform() < 0.3)
        action.control = 1; // a new paper form from its first answer: item 1, or "ไม่"
    else if (front)
        action.control = Model::frontItemBoxes(1 + pick(25))[static_cast<std::size_t>(pick(3))];
    else
        action.control = uniform() < 0.1 ? 1 : 1 + pick(Model::kBackBoxCount);
    const double roll = uniform();
    if (roll < 0.06) {
        action.digit = 0;
    } else if (roll < 0.1) {
        action.shape = Model::KeyShape::Delete;
    } else if (roll < 0.13) {
        action.digit = (front ? 4 : 5) + pick(front ? 6 : 5); // no such answer
    } else if (front) {
        action.digit = 1 + column(m_random);
    } else {
        // "ไม่" shuts the sheet; it comes now and then only.
        const bool difficulties = action.control >= 1 && action.control <= 4;
        action.digit = difficulties && uniform() > 0.15 ? 2 + pick(3) : 1 + pick(4);
    }
    return action;
}

// The keys and the list that copy a class: turning the paper, finishing each
// child, and the list's own buttons. Drawn from a generator of their own, so
// that users who never copy a class act as they did before the list existed.
template<typename Add> void ActionPicker::addClassActions(const Model::Program &model, Add &add)
{
    const bool frontShown = model.slot(ScreenId::Front).shown;
    const bool backShown = model.slot(ScreenId::Back).shown;
    const auto sheetKey = [](ScreenId screen, Model::SheetKey key) {
        Action action;
        action.kind = ActionKind::SheetKey;
        action.screen = screen;
        action.key = key;
        return action;
    };
    const auto finish = [this, sheetKey](ScreenId screen) {
        const double way = classUniform();
        return sheetKey(screen,
            way < 0.6        ? Model::SheetKey::CtrlReturn
                : way < 0.85 ? Model::SheetKey::CtrlKeypadEnter
                             : Model::SheetKey::FinishMenu);
    };
    if (frontShown) {
        add(0.8, [=] { return sheetKey(ScreenId::Front, Model::SheetKey::PageDown); });
        add(0.1, [=] { return sheetKey(ScreenId::Front, Model::SheetKey::PageUp); }); // no page before the front
        add(1, [=] { return finish(ScreenId::Front); });
    }
    if (backShown) {
        add(0.5 * m_restarts, [=] { return sheetKey(ScreenId::Back, Model::SheetKey::PageUp); });
        add(0.1, [=] { return sheetKey(ScreenId::Back, Model::SheetKey::PageDown); });
        add(1.5, [=] { return finish(ScreenId::Back); });
    }
    if (frontShown || backShown) {
        add(0.15, [=] {
            const ScreenId sheet
                = frontShown && (!backShown || classUniform() < 0.5) ? ScreenId::Front : ScreenId::Back;
            return sheetKey(sheet, classUniform() < 0.7 ? Model::SheetKey::F2 : Model::SheetKey::ClassListMenu);
        });
        // Stopped by a notice, the user often presses the finish key again at once.
        if (m_finishedLast)
            add(25, [=] { return finish(frontShown ? ScreenId::Front : ScreenId::Back); });
    }
    // A typist turns the paper once the front side is done and finishes the
    // child once the back side is, and now and then before it.
    if (frontShown && !backShown && frontDone(model))
        add(15 * m_keys, [=] { return sheetKey(ScreenId::Front, Model::SheetKey::PageDown); });
    if (backShown && backDone(model))
        add(15 * m_keys, [=] { return finish(ScreenId::Back); });
    const std::optional<Model::Program::KeyFocus> focus = model.keyFocus();
    if (focus && focus->box != 0 && focus->screen == ScreenId::Back)
        add(20 * m_keys, [=] { return finish(ScreenId::Back); });
    const Model::ClassListSide &list = model.classList();
    const int rows = static_cast<int>(model.listRows().size());
    // With the class in the list, the copier copies it or leaves, as likely
    // as going on typing the next paper.
    const double classDone = static_cast<int>(list.papers.size()) >= m_classSize ? 300 * m_keys + 5 : 0;
    if ((frontShown || backShown) && !list.inFile)
        add(classDone > 0 ? 1 : 0.05,
            [=] { return sheetKey(frontShown ? ScreenId::Front : ScreenId::Back, Model::SheetKey::Keep); });
    if (frontShown || backShown)
        add(list.mending ? 3 : 0.1,
            [=] { return sheetKey(frontShown ? ScreenId::Front : ScreenId::Back, Model::SheetKey::Escape); });
    if (classDone > 0 && !list.shown && (frontShown || backShown))
        add(classDone, [=] { return sheetKey(frontShown ? ScreenId::Front : ScreenId::Back, Model::SheetKey::F2); });
    if (classDone > 0 && model.slot(ScreenId::Menu).shown) {
        add(classDone, [this] {
            Action action;
            action.kind = classUniform() < 0.5 ? ActionKind::PressButton : ActionKind::CloseBox;
            action.screen = ScreenId::Menu;
            action.control = 4;
            action.reply = reply();
            return action;
        });
    }
    if (!list.shown)
        return;
    const auto press = [this](Model::ListButton button) {
        Action action;
        action.kind = ActionKind::ListButton;
        action.listButton = button;
        action.reply = reply();
        return action;
    };
    add(0.4 + classDone, [=] { return press(Model::ListButton::CopyClass); });
    add(0.1, [=] { return press(Model::ListButton::EmptyList); });
    add(0.5 + classDone / 2, [=] {
        // Mostly one row, now and then a few, and rarely none.
        Action action = press(Model::ListButton::DeleteRows);
        const double roll = classUniform();
        const int wanted = rows == 0 || roll < 0.05 ? 0
            : roll < 0.8                            ? 1
                         : 1 + std::uniform_int_distribution<int>(0, rows - 1)(m_classRandom);
        std::vector<int> all(static_cast<std::size_t>(rows));
        for (int row = 0; row < rows; ++row)
            all[static_cast<std::size_t>(row)] = row;
        std::shuffle(all.begin(), all.end(), m_classRandom);
        action.rows.assign(all.begin(), all.begin() + wanted);
        return action;
    });
    add(0.2, [] {
        Action action;
        action.kind = ActionKind::ListCloseBox;
        return action;
    });
    // Mending a paper, or choosing whose paper comes next; the late pupil's row now and then.
    add(list.papers.empty() ? 0.3 : 3, [=] {
        Action action;
        action.kind = ActionKind::ListEnter;
        action.rows = {std::uniform_int_distribution<int>(0, rows)(m_classRandom)};
        action.reply = reply();
        return action;
    });
#ifdef Q_OS_WIN
    // Under wine the clipboard does not hand a roster's Thai text back at once.
    constexpr double kRosterWeight = 0;
#else
    constexpr double kRosterWeight = 1;
#endif
    add(kRosterWeight * (list.roster.empty() ? 1.5 : 0.1), [=] {
        Action action;
        action.kind = ActionKind::PasteRoster;
        action.rosterSize = std::uniform_int_distribution<int>(1, m_classSize + 1)(m_classRandom);
        return action;
    });
    add(0.6, [=] {
        Action action;
        action.kind = ActionKind::ChooseView;
        action.view = std::uniform_int_distribution<int>(0, 3)(m_classRandom);
        return action;
    });
}

void ActionPicker::placeClick(Action &action)
{
    action.x = 0.05 + 0.9 * uniform();
    action.y = 0.05 + 0.9 * uniform();
}

Action ActionPicker::frontBox(const Model::Program &model, ActionKind kind)
{
    Action action;
    action.kind = kind;
    action.screen = ScreenId::Front;
    const int item = 1 + pick(25);
    std::discrete_distribution<int> column(m_columnWeights.begin(), m_columnWeights.end());
    const std::array<int, 3> boxes = Model::frontItemBoxes(item);
    action.control = boxes[static_cast<std::size_t>(column(m_random))];
    if (ticked(model.front().boxes[static_cast<std::size_t>(action.control)]) && uniform() < m_keepTicks)
        action.control = Model::frontItemBoxes(1 + pick(25))[static_cast<std::size_t>(column(m_random))];
    if (m_onePerItem && !ticked(model.front().boxes[static_cast<std::size_t>(action.control)])) {
        // As on paper: take back the item's other answer first.
        for (int other : boxes)
            if (ticked(model.front().boxes[static_cast<std::size_t>(other)]) && uniform() < 0.85)
                action.control = other;
    }
    placeClick(action);
    return action;
}

Action ActionPicker::backBox(const Model::Program &model, ActionKind kind)
{
    Action action;
    action.kind = kind;
    action.screen = ScreenId::Back;
    std::vector<int> enabled;
    for (int box = 2; box <= Model::kBackBoxCount; ++box)
        if (model.back().boxes[static_cast<std::size_t>(box)].enabled)
            enabled.push_back(box);
    // "ไม่" shuts most of the sheet, so it is clicked now and then only.
    const auto anyEnabled = [&] { return enabled[static_cast<std::size_t>(pick(static_cast<int>(enabled.size())))]; };
    action.control = uniform() < 0.05 ? 1 : anyEnabled();
    if (ticked(model.back().boxes[static_cast<std::size_t>(action.control)]) && uniform() < m_keepTicks)
        action.control = anyEnabled();
    if (m_onePerItem && !ticked(model.back().boxes[static_cast<std::size_t>(action.control)])) {
        for (int other : backGroupOf(action.control))
            if (ticked(model.back().boxes[static_cast<std::size_t>(other)])
                && model.back().boxes[static_cast<std::size_t>(other)].enabled && uniform() < 0.85)
                action.control = other;
    }
    action.answer = static_cast<Model::WarningAnswer>(pick(4));
    placeClick(action);
    return action;
}

Action ActionPicker::next(const Model::Program &model)
{
    std::vector<std::pair<double, std::function<Action()>>> options;
    const auto button = [](ScreenId screen, int number) {
        Action action;
        action.kind = ActionKind::PressButton;
        action.screen = screen;
        action.control = number;
        return action;
    };
    const auto closeBox = [](ScreenId screen) {
        Action action;
        action.kind = ActionKind::CloseBox;
        action.screen = screen;
        return action;
    };
    const auto withReply = [&](Action action) {
        action.reply = reply();
        return action;
    };
    const auto add
        = [&](double weight, std::function<Action()> make) { options.emplace_back(weight, std::move(make)); };
    const bool frontShown = model.slot(ScreenId::Front).shown;
    const bool backShown = model.slot(ScreenId::Back).shown;

    if (model.slot(ScreenId::Welcome).shown) {
        add(10, [&] { return button(ScreenId::Welcome, 1); });
        add(0.15, [&] { return closeBox(ScreenId::Welcome); });
    }
    if (model.slot(ScreenId::Menu).shown) {
        add(frontShown ? 0.5 : 6, [&] { return button(ScreenId::Menu, 1 + pick(3)); });
        // More often once a class is in the list, which makes the program ask.
        const double leave = !model.classList().empty() && !model.classList().inFile ? 0.4 : 0.05;
        add(leave, [&] { return withReply(button(ScreenId::Menu, 4)); });
        add(leave, [&] { return withReply(closeBox(ScreenId::Menu)); });
    }
    if (frontShown) {
        add(30, [&] { return frontBox(model, ActionKind::ClickBox); });
        add(3, [&] { return frontBox(model, ActionKind::SpaceOnBox); });
        add(5, [&] { return button(ScreenId::Front, 1); });
        add(0.7 * m_restarts, [&] { return button(ScreenId::Front, 2); });
        add(backShown ? 0.3 : 2, [&] { return button(ScreenId::Front, 3); });
        add(0.7 * m_restarts, [&] { return button(ScreenId::Front, 4); });
        add(0.3 * m_restarts, [&] { return closeBox(ScreenId::Front); });
        add(30 * m_keys, [&] { return keyOnBox(model, ScreenId::Front); });
    }
    if (backShown) {
        add(25, [&] { return backBox(model, ActionKind::ClickBox); });
        add(3, [&] { return backBox(model, ActionKind::SpaceOnBox); });
        add(5, [&] { return button(ScreenId::Back, 2); });
        add(0.8 * m_restarts, [&] { return button(ScreenId::Back, 3); });
        add(m_restarts, [&] { return button(ScreenId::Back, 1); });
        add(0.3 * m_restarts, [&] { return closeBox(ScreenId::Back); });
        add(25 * m_keys, [&] { return keyOnBox(model, ScreenId::Back); });
        add(0.4, [&] {
            static const std::array<const char *, 4> texts {"7", "12", "0", "ก"};
            Action action;
            action.kind = ActionKind::TypeIntoText;
            action.screen = ScreenId::Back;
            action.text = texts[static_cast<std::size_t>(pick(4))];
            return action;
        });
    }
    // A typist keeps typing down the sheet; after the last item or row the keys
    // leave the focus on "แปลผล", which is pressed next.
    if (const std::optional<Model::Program::KeyFocus> focus = model.keyFocus()) {
        if (focus->box != 0)
            add(1000 * m_keys, [&, focus] { return keyOnBox(model, focus->screen); });
        else
            add(60, [&, focus] { return button(focus->screen, focus->button); });
    }
    if (m_copiesClass)
        addClassActions(model, add);
    for (ScreenId screen : {ScreenId::Front, ScreenId::Back}) {
        if (!model.slot(screen).shown)
            continue;
        add(0.8, [&, screen] {
            Action action;
            action.kind = ActionKind::Copy;
            action.screen = screen;
            const double way = uniform();
            action.copy = way < 0.6 ? Model::CopyWay::CtrlC
                : way < 0.9         ? Model::CopyWay::MenuResults
                                    : Model::CopyWay::MenuHeader;
            return action;
        });
    }
    if (model.slot(ScreenId::Front).exists) {
        add(0.4, [&] {
            Action action;
            action.kind = ActionKind::GrayBoxByCode;
            action.screen = ScreenId::Front;
            action.control = 1 + pick(Model::kFrontBoxCount);
            return action;
        });
    }
    if (model.slot(ScreenId::Back).exists) {
        add(0.6, [&] {
            Action action;
            action.kind = ActionKind::GrayBoxByCode;
            action.screen = ScreenId::Back;
            action.control = uniform() < 0.3 ? 1 : 1 + pick(Model::kBackBoxCount);
            return action;
        });
    }

    std::vector<double> weights;
    for (const auto &option : options)
        weights.push_back(option.first);
    std::discrete_distribution<std::size_t> choose(weights.begin(), weights.end());
    const Action chosen = options[choose(m_random)].second();
    m_finishedLast = chosen.kind == ActionKind::SheetKey && Model::finishes(chosen.key);
    return chosen;
}

Replay replay(const std::vector<Action> &actions, const ScreenDriver::Sabotage &sabotage)
{
    Replay result;
    Model::Program model;
    ScreenDriver driver(sabotage);
    result.differences = driver.differences(model, {});
    if (!result.differences.isEmpty()) {
        result.failedAt = 0;
        return result;
    }
    for (std::size_t index = 0; index < actions.size(); ++index) {
        if (!model.canApply(actions[index]))
            continue;
        const Model::Outcome outcome = model.apply(actions[index]);
        driver.perform(actions[index]);
        result.differences = driver.differences(model, outcome);
        if (!result.differences.isEmpty()) {
            result.failedAt = static_cast<int>(index) + 1;
            return result;
        }
    }
    return result;
}

std::vector<Action> shrink(
    std::vector<Action> actions, const ScreenDriver::Sabotage &sabotage, QStringList *differences)
{
    const Replay first = replay(actions, sabotage);
    if (first.failedAt < 0)
        return actions; // does not fail again on a fresh program: report it as it ran
    actions.resize(static_cast<std::size_t>(first.failedAt));
    actions = applicable(actions);
    if (differences)
        *differences = first.differences;

    // Drop runs of actions, halving their length, while the rest still fails.
    QElapsedTimer clock;
    clock.start();
    int replays = 0;
    std::size_t chunk = std::max<std::size_t>(actions.size() / 2, 1);
    while (chunk >= 1 && replays < 2000 && clock.elapsed() < 120'000) {
        bool dropped = false;
        for (std::size_t start = 0; start < actions.size() && replays < 2000;) {
            std::vector<Action> candidate(actions.begin(), actions.begin() + static_cast<std::ptrdiff_t>(start));
            candidate.insert(candidate.end(),
                actions.begin() + static_cast<std::ptrdiff_t>(std::min(start + chunk, actions.size())), actions.end());
            ++replays;
            const Replay attempt = replay(candidate, sabotage);
            if (attempt.failedAt >= 0) {
                candidate.resize(static_cast<std::size_t>(attempt.failedAt));
                actions = applicable(candidate);
                if (differences)
                    *differences = attempt.differences;
                dropped = true;
            } else {
                start += chunk;
            }
        }
        if (!dropped) {
            if (chunk == 1)
                break;
            chunk /= 2;
        }
    }
    return actions;
}

std::optional<Failure> run(const Settings &settings, Coverage *coverage)
{
    std::mt19937_64 seeds(settings.seed);
    long long done = 0;
    for (long long episode = 0; done < settings.actions; ++episode) {
        const std::uint64_t episodeSeed = seeds();
        const long long budget = std::min<long long>(settings.episodeLength, settings.actions - done);
        Episode ran = runEpisode(episodeSeed, budget, settings, coverage);
        done += static_cast<long long>(ran.history.size());
        if (coverage)
            ++coverage->episodes;
        if (!ran.differences.isEmpty()) {
            Failure failure;
            failure.seed = settings.seed;
            failure.episode = episode;
            failure.episodeSeed = episodeSeed;
            failure.actionsBeforeShrinking = static_cast<int>(ran.history.size());
            failure.differences = ran.differences;
            failure.actions = shrink(ran.history, settings.sabotage, &failure.differences);
            return failure;
        }
        if (ran.history.empty())
            break; // nothing could be done at all
    }
    return std::nullopt;
}

QString report(const Failure &failure)
{
    QString text = u"The program and the model differ (seed %1, run %2 of the program, %3 actions into it).\n"_s
                       .arg(failure.seed)
                       .arg(failure.episode + 1)
                       .arg(failure.actionsBeforeShrinking);
    text += u"Shortest sequence found, from a fresh start (%1 actions):\n"_s.arg(failure.actions.size());
    int step = 0;
    for (const Action &action : failure.actions)
        text += u"  %1. %2\n"_s.arg(++step).arg(QString::fromStdString(Model::describe(action)));
    text += u"After the last of them:\n"_s;
    for (const QString &difference : failure.differences)
        text += u"  - %1\n"_s.arg(difference);
    text += u"Run it again with KVT_MODEL_SEED=%1.\n"_s.arg(failure.seed);
    return text;
}

} // namespace RandomRun
