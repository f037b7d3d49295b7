#include "core/servers/ServerPick.h"

#include <gtest/gtest.h>

namespace {

using Step = PickPlan::Step;

ServerRecord Record(const std::string& ip, const std::string& dvrType = "MODEL_C")
{
    ServerRecord record;
    record.name = "site";
    record.ip = ip;
    record.dvrType = dvrType;
    return record;
}

PickState Picking(const ServerRecord& record)
{
    PickState state;
    state.listEmpty = false;
    state.selectedName = record.name;
    state.record = record;
    return state;
}

PickState WithOpenServer(PickState state, int firstSlotDvrType)
{
    state.openServerNames = {"other"};
    state.firstSlotDvrType = firstSlotDvrType;
    return state;
}

} // namespace

TEST(ServerPick, GuardsBeforeTheRecordIsUsed)
{
    PickState state = Picking(Record("1.2.3.4"));
    state.listEmpty = true;
    state.liveRunning = true;
    EXPECT_EQ(PlanServerPick(state).step, Step::Nothing) << "an empty list ignores the pick";

    state.listEmpty = false;
    PickPlan live = PlanServerPick(state);
    EXPECT_EQ(live.step, Step::Message);
    EXPECT_EQ(live.messageId, kMsgLiveRunning);
    EXPECT_FALSE(live.setCurrentName);
    EXPECT_FALSE(live.handCredentials);

    state.liveRunning = false;
    state.selectedName.reset();
    EXPECT_EQ(PlanServerPick(state), PickPlan{});
}

TEST(ServerPick, AlreadyOpenServerOrFullChannelBudgetClosesWithoutConnecting)
{
    PickState open = Picking(Record("1.2.3.4"));
    open.openServerNames = {"first", "site"};
    PickPlan plan = PlanServerPick(open);
    EXPECT_EQ(plan.step, Step::CloseDialog);
    EXPECT_TRUE(plan.setCurrentName);
    EXPECT_FALSE(plan.handCredentials);

    PickState full = Picking(Record("1.2.3.4"));
    full.liveChannelsInUse = 16;
    full.record.reset();  // the limit is checked before the record is needed
    EXPECT_EQ(PlanServerPick(full).step, Step::CloseDialog);

    full.liveChannelsInUse = 15;
    full.record = Record("1.2.3.4");
    EXPECT_EQ(PlanServerPick(full).step, Step::Connect);
}

TEST(ServerPick, MissingRecordDoesNothingButNamesTheServer)
{
    PickState state = Picking(Record("1.2.3.4"));
    state.record.reset();
    PickPlan plan = PlanServerPick(state);
    EXPECT_EQ(plan.step, Step::Nothing);
    EXPECT_TRUE(plan.setCurrentName);
    EXPECT_FALSE(plan.handCredentials);
}

TEST(ServerPick, ModelMixRefusalsFollowTheFirstOpenServersType)
{
    struct Case {
        int firstType;
        const char* model;
        int refusal;
    };
    const Case cases[] = {
        {3, "MODEL_A", kMsgModelMixSixteen}, {3, "MODEL_E", kMsgModelMixSixteen}, {3, "MODEL_C", 0},
        {3, "MODEL_B", 0},
        {1, "MODEL_A", 0}, {1, "MODEL_B", kMsgModelMixPaired}, {1, "model_a", kMsgModelMixPaired},
        {5, "MODEL_A", 0}, {5, "MODEL_E", kMsgModelMixPaired},
        {0, "MODEL_E", 0}, {2, "MODEL_A", 0}, {6, "MODEL_E", 0},
    };
    for (const auto& c : cases) {
        PickPlan plan = PlanServerPick(WithOpenServer(Picking(Record("1.2.3.4", c.model)), c.firstType));
        SCOPED_TRACE(std::to_string(c.firstType) + " + " + c.model);
        EXPECT_TRUE(plan.handCredentials) << "credentials go over before the rule is applied";
        if (c.refusal) {
            EXPECT_EQ(plan.step, Step::Message);
            EXPECT_EQ(plan.messageId, c.refusal);
        } else {
            EXPECT_EQ(plan.step, Step::Connect);
        }
    }

    // With nothing open the first slot's type is not consulted at all.
    PickState alone = Picking(Record("1.2.3.4", "MODEL_A"));
    alone.firstSlotDvrType = 3;
    EXPECT_EQ(PlanServerPick(alone).step, Step::Connect);

    // Names come from the DVR type table, not the built-in spellings.
    PickState renamed = WithOpenServer(Picking(Record("1.2.3.4", "MODEL_A")), 1);
    renamed.models[0] = "Quad";
    EXPECT_EQ(PlanServerPick(renamed).messageId, kMsgModelMixPaired);
    renamed.record->dvrType = "Quad";
    EXPECT_EQ(PlanServerPick(renamed).step, Step::Connect);
}

TEST(ServerPick, ThreeDotsMakeALiteralAddressAnythingElseIsResolved)
{
    for (const char* literal : {"1.2.3.4", "a.b.c.d", "10.0.0.1.5"}) {
        PickPlan plan = PlanServerPick(Picking(Record(literal)));
        EXPECT_EQ(plan.step, Step::Connect) << literal;
        EXPECT_EQ(plan.address, literal);
    }
    for (const char* name : {"10.0.0", "cam1", ""}) {
        PickPlan plan = PlanServerPick(Picking(Record(name)));
        EXPECT_EQ(plan.step, Step::ResolveDdns) << name;
        EXPECT_EQ(plan.ddnsName, name);
        EXPECT_TRUE(plan.address.empty());
    }
}
