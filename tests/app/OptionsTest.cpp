#include "app/OrvelAppDelegate.h"

#include <gtest/gtest.h>

namespace tonara {
namespace {

struct Parsed {
    bool ok;
    AppOptions options;
    QString message;
    bool help;
};

Parsed parse(QStringList args)
{
    args.prepend(QStringLiteral("tonara"));
    Parsed p{false, {}, {}, false};
    p.ok = OrvelAppDelegate::parseOptions(args, &p.options, &p.message, &p.help);
    return p;
}

TEST(AppOptions, DefaultsUseTheSimulatorOnAPhone)
{
    const Parsed p = parse({});
    ASSERT_TRUE(p.ok) << p.message.toStdString();
    EXPECT_TRUE(p.options.device.isEmpty());
    EXPECT_TRUE(p.options.dataDir.isEmpty());
    EXPECT_EQ(p.options.formFactor, FormFactor::Phone480);
    EXPECT_DOUBLE_EQ(p.options.scale, 1.0);
}

TEST(AppOptions, EveryOptionIsRead)
{
    const Parsed p =
        parse({"--device", "/dev/ttyUSB0", "--data-dir=/tmp/t", "--form-factor", "tablet", "--scale", "1.5"});
    ASSERT_TRUE(p.ok) << p.message.toStdString();
    EXPECT_EQ(p.options.device, "/dev/ttyUSB0");
    EXPECT_EQ(p.options.dataDir, "/tmp/t");
    EXPECT_EQ(p.options.formFactor, FormFactor::Tablet);
    EXPECT_DOUBLE_EQ(p.options.scale, 1.5);
    EXPECT_EQ(parse({"--form-factor", "phone568"}).options.formFactor, FormFactor::Phone568);
}

TEST(AppOptions, BadInputIsRefusedWithAReason)
{
    struct Case {
        QStringList args;
        const char *mentions;
    };
    const Case cases[] = {
        {{"--form-factor", "phablet"}, "phablet"},
        {{"--scale", "0"}, "scale"},
        {{"--scale", "5"}, "scale"},
        {{"--scale", "big"}, "big"},
        {{"--scale", "nan"}, "scale"},
        {{"--colour"}, "colour"},
        {{"--device"}, "device"},
        {{"--device="}, "device"},
        {{"--data-dir="}, "data-dir"},
        {{"stray"}, "stray"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        AppOptions before;
        before.dataDir = QStringLiteral("kept");
        Parsed p{false, before, {}, false};
        QStringList args = c.args;
        args.prepend(QStringLiteral("tonara"));
        p.ok = OrvelAppDelegate::parseOptions(args, &p.options, &p.message, &p.help);
        EXPECT_FALSE(p.ok);
        EXPECT_FALSE(p.help);
        EXPECT_TRUE(p.message.contains(QLatin1String(c.mentions))) << p.message.toStdString();
        EXPECT_EQ(p.options.dataDir, "kept") << "a refused command line changes nothing";
    }
}

TEST(AppOptions, HelpListsEveryOption)
{
    const Parsed p = parse({"--help"});
    EXPECT_FALSE(p.ok);
    EXPECT_TRUE(p.help);
    for (const char *o : {"--device", "--data-dir", "--form-factor", "--scale", "--help"})
        EXPECT_TRUE(p.message.contains(QLatin1String(o))) << o;
}

} // namespace
} // namespace tonara
