#include "core/servers/ServerEditPlan.h"
#include "core/servers/ServerForm.h"

#include <gtest/gtest.h>

namespace {

ServerForm ValidForm()
{
    ServerForm form;
    form.name = "Shop";
    form.dvrType = "MODEL_C";
    form.ip = "192.168.0.10";
    form.account = "GUEST0";
    form.password = "5829";
    form.port = "7050";
    form.protocol = "TCP";
    form.ddns = "203.0.113.10";
    return form;
}

FormProblem ProblemOf(const ServerForm& form)
{
    auto checked = CheckServerForm(form);
    EXPECT_TRUE(std::holds_alternative<FormProblem>(checked)) << "form was accepted";
    return std::holds_alternative<FormProblem>(checked) ? std::get<FormProblem>(checked) : FormProblem{};
}

TEST(ServerForm, ValidFormBecomesTheRecord)
{
    auto checked = CheckServerForm(ValidForm());
    ASSERT_TRUE(std::holds_alternative<ServerRecord>(checked));
    const auto& record = std::get<ServerRecord>(checked);
    EXPECT_EQ(record, (ServerRecord{"Shop", "192.168.0.10", 7050, "GUEST0", "5829", "MODEL_C", "TCP",
                                    "203.0.113.10"}));
}

TEST(ServerForm, EmptyFieldsAreReportedInTheirOrderWithTheirFocus)
{
    ServerForm form;  // everything empty: the name is reported first
    EXPECT_EQ(ProblemOf(form), (FormProblem{LangText::Id(6007), FormField::ServerName}));
    form.name = "Shop";
    EXPECT_EQ(ProblemOf(form), (FormProblem{LangText::Id(6008), FormField::DvrType}));
    form.dvrType = "MODEL_A";
    EXPECT_EQ(ProblemOf(form), (FormProblem{LangText::Id(6009), FormField::Password}));
    form.password = "x";
    EXPECT_EQ(ProblemOf(form), (FormProblem{LangText::Id(6010), FormField::IpAddress}));
    form.ip = "cam.example";
    EXPECT_EQ(ProblemOf(form), (FormProblem{LangText::Id(6011), FormField::Port}));
    form.port = "0";
    EXPECT_EQ(ProblemOf(form), (FormProblem{LangText::Id(6011), FormField::Port}));
    form.port = "80";
    EXPECT_EQ(ProblemOf(form), (FormProblem{LangText::Id(6012), FormField::None}));
    form.protocol = "UDP";
    EXPECT_TRUE(std::holds_alternative<ServerRecord>(CheckServerForm(form)));
    // An empty password is refused even when all else is valid.
    form = ValidForm();
    form.password.clear();
    EXPECT_EQ(ProblemOf(form).message, LangText::Id(6009));
}

TEST(ServerForm, PortMustBeADecimalNumberThatFitsATcpPort)
{
    ServerForm form = ValidForm();
    for (const char* notANumber : {"", "80a", " 80", "-1", "+80", "0x50"}) {
        form.port = notANumber;
        EXPECT_EQ(ProblemOf(form).message, LangText::Id(6011)) << notANumber;
    }
    for (const char* tooLarge : {"65536", "4294967295", "99999999999999999999999"}) {
        form.port = tooLarge;
        EXPECT_EQ(ProblemOf(form), (FormProblem{LangText::Id(kStrPortOutOfRange), FormField::Port})) << tooLarge;
    }
    form.port = "65535";
    EXPECT_EQ(std::get<ServerRecord>(CheckServerForm(form)).port, 65535u);
    form.port = "007050";
    EXPECT_EQ(std::get<ServerRecord>(CheckServerForm(form)).port, 7050u);
}

TEST(ServerForm, NamesAndTextsThatCannotBeStoredAreRefused)
{
    ServerForm form = ValidForm();
    form.name = "Shop\\Back";  // would make a key below another record
    EXPECT_EQ(ProblemOf(form), (FormProblem{LangText::Id(kStrNameNotStorable), FormField::ServerName}));
    form.name = std::string(256, 'n');
    EXPECT_EQ(ProblemOf(form), (FormProblem{LangText::Id(kStrNameNotStorable), FormField::ServerName}));

    form = ValidForm();
    form.password = std::string(255, 'p');
    EXPECT_EQ(ProblemOf(form), (FormProblem{LangText::Id(kStrPasswordTooLong), FormField::Password}));
    form.password = std::string(254, 'p');
    EXPECT_TRUE(std::holds_alternative<ServerRecord>(CheckServerForm(form)));

    form = ValidForm();
    form.ip = std::string(255, 'a');
    EXPECT_EQ(ProblemOf(form), (FormProblem{LangText::Id(kStrAddressTooLong), FormField::IpAddress}));
    form = ValidForm();
    form.dvrType = std::string(300, 't');
    EXPECT_EQ(ProblemOf(form), (FormProblem{LangText::Id(kStrSettingTooLong), FormField::None}));
}

TEST(ServerEditPlan, AddRefusesAnExistingNameBeforeLookingAtTheForm)
{
    ServerForm form = ValidForm();
    form.password.clear();
    EXPECT_EQ(PlanServerEdit(ServerEdit::Add, form, true).message, LangText::Id(6002));
    ServerEditPlan plan = PlanServerEdit(ServerEdit::Add, form, false);
    EXPECT_EQ(plan.action, ServerEditPlan::Action::Stop);
    EXPECT_EQ(plan.message, LangText::Id(6009));
    EXPECT_EQ(plan.focus, FormField::Password);

    plan = PlanServerEdit(ServerEdit::Add, ValidForm(), false);
    EXPECT_EQ(plan.action, ServerEditPlan::Action::Write);
    EXPECT_EQ(plan.message, LangText::Id(6003));
    EXPECT_EQ(plan.record.name, "Shop");
}

TEST(ServerEditPlan, ModifyAndDeleteCheckTheFormFirstThenNeedTheRecord)
{
    ServerForm bad = ValidForm();
    bad.ip.clear();
    for (ServerEdit edit : {ServerEdit::Modify, ServerEdit::Delete}) {
        // A record can only be deleted or changed when the whole form is valid.
        EXPECT_EQ(PlanServerEdit(edit, bad, true).message, LangText::Id(6010));
        EXPECT_EQ(PlanServerEdit(edit, bad, false).message, LangText::Id(6010));
        ServerEditPlan missing = PlanServerEdit(edit, ValidForm(), false);
        EXPECT_EQ(missing.action, ServerEditPlan::Action::Stop);
        EXPECT_EQ(missing.message, LangText::Id(6004));
    }
    ServerEditPlan modify = PlanServerEdit(ServerEdit::Modify, ValidForm(), true);
    EXPECT_EQ(modify.action, ServerEditPlan::Action::Write);
    EXPECT_EQ(modify.message, LangText::Id(6005));
    ServerEditPlan remove = PlanServerEdit(ServerEdit::Delete, ValidForm(), true);
    EXPECT_EQ(remove.action, ServerEditPlan::Action::Remove);
    EXPECT_EQ(remove.message, LangText::Id(6006));
    EXPECT_EQ(modify.failure, LangText::Id(kStrServerNotSaved));
    EXPECT_EQ(remove.failure, LangText::Id(kStrServerNotDeleted));
}

} // namespace
