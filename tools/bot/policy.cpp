// The play policy: throw in the lane the player stands on while it has raiders
// to hit, hop to the lane whose raider will reach its bowl soonest when that
// one cannot wait, and refill when the stock runs low and the field is quiet.
#include "policy.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "gameplay/gameplay.h"

namespace {

constexpr int hop_frames = 20;        // 16 moving + 4 landing
constexpr int throw_interval = 5;
constexpr int refill_frames = 31;     // 30 refilling + the frame that releases A
constexpr int reach_x = 329;          // a shot is tested at x 329 at most

int stop_line(int lane) { return 112 - 16 * lane; }

struct LaneView {
    int first = INT_MAX;  // frames until its nearest raider reaches the bowl
    int first_hp = 0;     // hit points of that raider
    int work = 0;         // hits still owed to the raiders within reach, less shots on the way
};

// A shot thrown from a home position flies in its lane's band.
int shot_lane(const Shot& shot) { return (shot.y - 45) / 32; }

LaneView view_lane(int lane) {
    LaneView view;
    for (const Raider& raider : round_data.raiders[lane]) {
        const bool coming = raider.state == raider_walking || raider.state == raider_knocked_back;
        if (!coming || raider.hp <= 0) continue;
        // A knocked-back raider is pushed away before it walks again.
        int frames = raider.x - stop_line(lane);
        if (raider.state == raider_knocked_back) frames += 3 * (40 - raider.anim);
        if (round_data.time_left <= 100) frames /= 2;
        if (frames < view.first) {
            view.first = frames;
            view.first_hp = raider.hp;
        }
        if (raider.x < reach_x) view.work += raider.hp;
    }
    for (const Shot& shot : round_data.shots)
        if (shot.state == shot_flying && shot_lane(shot) == lane) view.work -= 1;
    return view;
}

// Frames of slack a lane leaves a player standing on `from`: how long it can
// wait before the player must set off to stop its nearest raider in time.
int slack(const LaneView& view, int from, int to) {
    if (view.first == INT_MAX) return INT_MAX;
    return view.first - hop_frames * std::abs(to - from) - throw_interval * view.first_hp - 8;
}

BotKeys go_to(int lane, bool throw_on_arrival) {
    const RoundState& r = round_data;
    BotKeys keys;
    if (r.player_action == action_throwing) return keys;  // releasing A makes the player idle
    if (r.player_action == action_idle && lane != r.player_lane) {
        keys.up = lane < r.player_lane;
        keys.down = lane > r.player_lane;
        return keys;
    }
    keys.a = throw_on_arrival && lane == r.player_lane;
    return keys;
}

}  // namespace

BotKeys choose_play_keys(const BotPolicy& policy) {
    const RoundState& r = round_data;
    BotKeys keys;
    if (r.player_action == action_refilling) {
        keys.a = true;  // throws the moment the refill completes, if still wanted
        return keys;
    }
    // During a hop the lane already reads as the one being moved to.
    const int here = r.player_lane;
    LaneView lanes[lane_count];
    int tightest = -1, tightest_slack = INT_MAX;
    for (int lane = 0; lane < lane_count; ++lane) {
        lanes[lane] = view_lane(lane);
        const int s = slack(lanes[lane], here, lane);
        if (s < tightest_slack) {
            tightest_slack = s;
            tightest = lane;
        }
    }
    const bool busy = r.player_action == action_changing_lane || r.player_action == action_landing;
    const bool stock_empty = r.shots_left == 0;

    // A lane that cannot wait comes first.
    if (tightest >= 0 && tightest != here && tightest_slack < policy.stay_margin && !stock_empty)
        return go_to(tightest, true);

    // Refill when the stock is low and every lane can spare the time.
    if (!busy && (stock_empty || r.shots_left < policy.refill_below) &&
        (stock_empty || tightest_slack > refill_frames + policy.refill_margin || lanes[here].work <= 0)) {
        if (r.player_action == action_throwing) return keys;  // release A first
        if (stock_empty && tightest_slack < refill_frames && tightest != here && lanes[here].work <= 0)
            return go_to(tightest, false);
        keys.b = true;
        return keys;
    }

    if (lanes[here].work > 0) {
        keys.a = true;
        return keys;
    }
    // Nothing to hit here: go where there is, else where the next raider comes.
    int best = -1;
    for (int lane = 0; lane < lane_count; ++lane) {
        const bool has_work = lanes[lane].work > 0;
        const bool best_has_work = best >= 0 && lanes[best].work > 0;
        if (best < 0 || has_work > best_has_work ||
            (has_work == best_has_work && lanes[lane].first < lanes[best].first))
            best = lane;
    }
    if (best >= 0 && best != here) return go_to(best, true);
    return keys;
}
