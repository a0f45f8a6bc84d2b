#pragma once

#include "programmodel.h"
#include "screendriver.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace RandomRun {

struct Settings {
    std::uint64_t seed = 1;
    long long actions = 20000;
    int episodeLength = 250; // a fresh program after this many actions, or when it ends
    ScreenDriver::Sabotage sabotage;
};

// The first place where program and model part.
struct Failure {
    std::uint64_t seed = 0;
    long long episode = 0;
    std::uint64_t episodeSeed = 0;
    int actionsBeforeShrinking = 0;
    std::vector<Model::Action> actions; // the shortest sequence found that shows it
    QStringList differences;
};

// What the run reached, so that a quiet run is known to have gone somewhere.
struct Coverage {
    long long actions = 0;
    long long episodes = 0;
    std::map<std::string, long long> counts; // by event
    void add(const std::string &event) { ++counts[event]; }
    long long count(const std::string &event) const;
    long long countStartingWith(const std::string &prefix) const;
    QString summary() const;
};

// Replays actions on a fresh program; the index of the action after which the
// program and the model first differ, or -1 when they agree throughout.
struct Replay {
    int failedAt = -1;
    QStringList differences;
};
Replay replay(const std::vector<Model::Action> &actions, const ScreenDriver::Sabotage &sabotage);

// The shortest sequence it can find that still fails, by dropping ever
// smaller runs of actions.
std::vector<Model::Action> shrink(
    std::vector<Model::Action> actions, const ScreenDriver::Sabotage &sabotage, QStringList *differences);

std::optional<Failure> run(const Settings &settings, Coverage *coverage);

QString report(const Failure &failure);

// Chooses the next action from what a user can do now. Each run of the
// program draws its own habits: one tick per item as on paper, or ticks
// anywhere that pile up; which columns it favours; how often it starts again.
class ActionPicker final
{
public:
    explicit ActionPicker(std::uint64_t seed);
    Model::Action next(const Model::Program &model);

private:
    double uniform() { return std::uniform_real_distribution<double>(0.0, 1.0)(m_random); }
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
    Model::Action frontBox(const Model::Program &model, Model::ActionKind kind);
    Model::Action backBox(const Model::Program &model, Model::ActionKind kind);
    void placeClick(Model::Action &action);
    Model::Action keyOnBox(const Model::Program &model, Model::ScreenId screen);
    template<typename Add> void addClassActions(const Model::Program &model, Add &add);
    double classUniform() { return std::uniform_real_distribution<double>(0.0, 1.0)(m_classRandom); }
    Model::KeyShape keyShape();
    Model::Reply reply();

    std::mt19937_64 m_random;
    std::mt19937_64 m_classRandom; // for what copying a class adds
    bool m_onePerItem;
    std::array<double, 3> m_columnWeights {};
    double m_keepTicks; // chance to leave a ticked box alone and tick another
    double m_restarts; // scales the buttons and close boxes that empty a side
    double m_keys; // how much this user answers by keys rather than clicks
    double m_steady = 0.9; // chance that the next key goes where the last one led
    Model::KeyShape m_layout; // the way this user mostly types digits
    bool m_copiesClass; // uses the keys and the list that copy a class
    bool m_finishedLast = false; // the last action was the finish key
    int m_classSize; // children in the class this user copies
};

} // namespace RandomRun
