#include "sim/sim_platform.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "common/nibs.h"

namespace tamsel::sim {

double SimLocalTime::offsetAt(double wallSeconds) const {
    double offset = 0;
    for (const auto& [from, seconds] : offsets)
        if (wallSeconds >= from) offset = seconds;
    return offset;
}

double SimLocalTime::fromLocal(const LocalDateTime& local) {
    const double asUtc = secondsFromUtc(local);
    std::optional<double> first;
    for (const auto& entry : offsets) {
        const double candidate = asUtc - entry.second;
        if (offsetAt(candidate) == entry.second && (!first || candidate < *first))
            first = candidate;
    }
    // Skipped by a clock change: read with the offset before it.
    return first ? *first : asUtc - offsetAt(asUtc - 86400);
}

void SimTimers::block(double seconds) {
    sim_.clock.uptime_ += seconds;
    blockedSeconds += seconds;
}

TimerRef SimTimers::schedule(double interval, bool repeats, std::function<void()> fire) {
    auto e = std::make_shared<Entry>();
    e->due = sim_.now() + interval, e->interval = interval, e->repeats = repeats;
    e->sequence = sequence_++, e->fire = std::move(fire);
    return entries_.emplace_back(e);
}

void SimTimers::advance(double seconds) {
    // Nothing fires inside a modal run: time only passes.
    if (sim_.app.modalDepth > 0) return block(seconds);
    const double target = sim_.now() + seconds;
    for (;;) {
        std::shared_ptr<Entry> entry;
        for (const auto& e : entries_)
            if (e->valid && e->due <= target &&
                (!entry || std::pair(e->due, e->sequence) < std::pair(entry->due, entry->sequence)))
                entry = e;
        if (!entry) break;
        sim_.clock.uptime_ = std::max(sim_.now(), entry->due);
        entry->valid = entry->repeats;
        entry->due += entry->interval;
        // Late: fire once and go on from now, not once per missed interval.
        if (entry->due <= sim_.now()) entry->due = sim_.now() + entry->interval;
        entry->sequence = sequence_++;
        // The callback may invalidate its own timer; keep it alive meanwhile.
        if (auto fire = entry->fire) fire();
        if (afterFire) afterFire();
    }
    sim_.clock.uptime_ = std::max(sim_.now(), target);
    std::erase_if(entries_, [](const auto& e) { return !e->valid; });
}

double SimIdle::secondsSinceLastEvent(InputEvent type) {
    const double now = clock_.uptime();
    const auto& spans = spans_[type];
    auto begun = std::upper_bound(spans.begin(), spans.end(), std::pair(now, 1e300));
    // Never: as long ago as a desktop would say after a fresh login.
    return begun == spans.begin() ? 1e6 : now - std::min(std::prev(begun)->second, now);
}

void SimIdle::activeBetween(double from, double to, InputEvent type) {
    auto& spans = spans_[type];
    if (!spans.empty() && from < spans.back().first) ADD_FAILURE() << "input out of order";
    spans.emplace_back(from, spans.empty() ? to : std::max(to, spans.back().second));
}

void SimIdle::forgetBefore(double moment) {
    for (auto& [type, spans] : spans_)
        spans.erase(spans.begin(), std::partition_point(spans.begin(), spans.end(), [=](auto& s) {
                        return s.second < moment;
                    }));
}

long long SimSettings::integerForKey(std::string_view key) {
    return std::strtoll(stringForKey(key).value_or("").c_str(), nullptr, 10);
}

double SimSettings::doubleForKey(std::string_view key) {
    // As a settings file is read: the same in every language.
    const std::string text = stringForKey(key).value_or("");
    double v = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    return error == std::errc() && end == text.data() + text.size() ? v : 0.0;
}

void SimSettings::setDouble(std::string_view key, double value) {
    char text[32];
    setString(key, std::string(text, std::to_chars(text, text + sizeof text, value).ptr));
}

std::optional<std::string> SimSettings::stringForKey(std::string_view key) {
    auto it = values.find(key);
    return it == values.end() ? std::nullopt : std::optional(it->second);
}

void SimWindowState::perform(std::string_view action, std::string_view sender) {
    auto it = outlets.find(sender);
    if (closed || (it != outlets.end() && (it->second->isHidden() || !it->second->isEnabled())))
        ADD_FAILURE() << "the user cannot work " << action << " on " << nibName;
    else if (onAction)
        onAction(action, sender);
}

namespace {

class SimWindow : public Window {
public:
    explicit SimWindow(std::shared_ptr<SimWindowState> state) : s_(std::move(state)) {}
    ~SimWindow() override { s_->destroyed = true; }
    Control& outlet(std::string_view name) override { return s_->outlet(name); }
    void setActionHandler(ActionHandler handler) override { s_->onAction = std::move(handler); }
    void setMouseUpHandler(std::function<void(const MouseEvent&)> handler) override {
        s_->onMouseUp = std::move(handler);
    }
    std::string title() const override { return s_->title; }
    void setTitle(const std::string& title) override { s_->title = title; }
    Rect frame() const override { return s_->frame; }
    void setFrame(const Rect& frame, bool) override {
        if (!s_->closed) s_->frame = frame;
    }
    void setLevel(WindowLevel) override {}
    void setOpaque(bool) override {}
    Color backgroundColor() const override { return s_->background; }
    void setBackgroundColor(const Color& color) override { s_->background = color; }
    void setIgnoresMouseEvents(bool) override {}
    unsigned styleMask() const override { return s_->styleMask; }
    void setStyleMask(unsigned mask) override { s_->styleMask = mask; }
    void orderFront() override {}
    void makeKeyAndOrderFront() override { s_->keyAndFrontCount += !s_->closed; }
    void close() override { s_->closed = true; }
    bool isVisible() const override { return !s_->closed; }

private:
    std::shared_ptr<SimWindowState> s_;
};

}  // namespace

std::unique_ptr<Window> SimWindows::loadWindow(std::string_view nibName) {
    auto state = std::make_shared<SimWindowState>();
    state->nibName = nibName;
    state->title = std::string(nib::titleOf(nibName));
    state->frame = nibName == nib::kMainWindow ? Rect{0, 0, 200, 30} : Rect{0, 0, 480, 360};
    for (const nib::Outlet& o : nib::outletsOf(nibName))
        state->outlets.emplace(std::string(o.name), std::make_unique<SimControl>());
    if (nibName == nib::kLockScreen)
        state->outlets["closeBtn"]->setText(std::string(nib::kSnoozeTitle));
    all.push_back(state);
    return std::make_unique<SimWindow>(state);
}

void SimApplication::runModal(Window& window) {
    ++modalDepth;
    stopRequested_ = false;
    modalScript.at(window.title())(window);
    --modalDepth;
    EXPECT_TRUE(stopRequested_) << "the modal run of \"" << window.title() << "\" never ended";
}

void SimStatusBar::choose(std::string_view action) {
    bool found = false;
    for (const MenuItem& top : item ? item->menu : std::vector<MenuItem>{}) {
        found |= top.action == action && top.enabled;
        for (const MenuItem& sub : top.submenu) found |= sub.action == action && sub.enabled;
    }
    ASSERT_TRUE(found) << "the menu offers no enabled item for " << action;
    item->chosen(action);
}

AlertResponse SimDialogs::runAlert(const AlertRequest& request) {
    shown.push_back(request);
    Answer next = responder;
    if (!script.empty()) next = std::move(script.front()), script.pop_front();
    ++sim_.app.modalDepth;
    AlertResponse response = next(request);  // an unscripted one throws
    --sim_.app.modalDepth;
    return response;
}

FetchResult SimNetwork::fetchText(const std::string& url, double timeoutSeconds) {
    Reply reply = server ? server(url) : Reply{{false, "", "Could not connect to server"}, 0.01};
    // The main loop is blocked while the fetch runs.
    sim_.block(std::min(reply.seconds, timeoutSeconds));
    if (reply.seconds >= timeoutSeconds) return {false, "", "Operation timed out"};
    return reply.result;
}

std::uint32_t SimRandom::uniform(std::uint32_t bound) {
    if (!script.empty()) {
        const std::uint32_t v = script.front() % bound;
        return script.pop_front(), v;
    }
    if (engine_) return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(*engine_);
    return (bound / 2 + 1) % bound;
}

std::string SimRemote::call(Request request, std::uint32_t seconds, std::string action) {
    std::optional<std::string> answer;
    if (handler)
        handler({request, seconds, std::move(action)},
                [&answer](const std::string& refusal) { answer = refusal; });
    if (!answer) ADD_FAILURE() << "a request went unanswered";
    return answer.value_or("unanswered");
}

std::vector<HistoryDay> SimHistory::days(const std::string& from, const std::string& to) {
    std::vector<HistoryDay> list;
    for (auto it = active.lower_bound(from); it != active.end() && it->first <= to; ++it)
        list.push_back({it->first, it->second});
    return list;
}

std::vector<HistoryEvent> SimHistory::events(const std::string& from, const std::string& to) {
    std::vector<HistoryEvent> list;
    std::ranges::copy_if(kept, back_inserter(list),
                         [&](auto& e) { return e.day >= from && e.day <= to; });
    return list;
}

void SimHistory::forgetBefore(const std::string& day) {
    active.erase(active.begin(), active.lower_bound(day));
    std::erase_if(kept, [&](const HistoryEvent& e) { return e.day < day; });
}

}  // namespace tamsel::sim
