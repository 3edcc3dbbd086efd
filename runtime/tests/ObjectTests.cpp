#include "runtime/CQrnMem.h"
#include "runtime/CRefObject.h"
#include "runtime/CWString.h"

#include <gtest/gtest.h>

namespace {
struct Counted : CRefObject {
    explicit Counted(int* deaths) : deaths_(deaths) {}
    ~Counted() override { ++*deaths_; }
    int* deaths_;
};
} // namespace

TEST(Object, CopyFromChecksTheKind)
{
    CWString text(u"abc");
    text.tag = 9;
    CQrnMem mem;
    EXPECT_FALSE(text.CopyFrom(mem));
    EXPECT_EQ(text.View(), u"abc");
    EXPECT_EQ(text.tag, 9);
    CWConstString literal(u"lit");
    literal.tag = 3;
    EXPECT_TRUE(text.CopyFrom(literal)); // a subclass is a kind of text
    EXPECT_EQ(text.View(), u"lit");
    EXPECT_EQ(text.tag, 3);
    EXPECT_FALSE(literal.CopyFrom(CWString(u"x")));
}

TEST(Object, EqualityLooksAtClassTagAndNullMarker)
{
    CWString a(u"same"), b(u"same");
    EXPECT_TRUE(a.IsEqual(b));
    b.tag = 1;
    EXPECT_FALSE(a.IsEqual(b));
    b.tag = 0;
    b.SetNullObject(true);
    EXPECT_FALSE(a.IsEqual(b));
    EXPECT_FALSE(a.IsEqual(CWConstString(u"same")));
    b.Reset();
    EXPECT_EQ(b.flags, 0u);
    EXPECT_TRUE(b.IsEmpty());
}

TEST(Object, KindWalkAndCreation)
{
    CWConstString literal(u"x");
    EXPECT_TRUE(literal.IsKindOf(CWString::StaticClassInfo()));
    EXPECT_TRUE(literal.IsKindOf(CQrnObject::StaticClassInfo()));
    EXPECT_FALSE(literal.IsKindOf(CQrnMem::StaticClassInfo()));
    const CQrnClassInfo copy = MakeClassInfo("CWString", nullptr, nullptr);
    EXPECT_TRUE(literal.IsKindOf(copy));
    CQrnObject* made = CWString::StaticClassInfo().create();
    EXPECT_TRUE(made->GetClassInfo()->Matches(CWString::StaticClassInfo()));
    CQrnObject* clone = literal.Clone();
    EXPECT_TRUE(clone->IsEqual(literal));
    made->Destroy(clone);
    made->Destroy(nullptr);
    delete made;
}

TEST(Object, RootDumpNamesClassAndAddress)
{
    CQrnObject o;
    o.SetNullObject(true);
    CWString dump;
    o.GetDumpText(dump, 0);
    CWString expected;
    expected.SetFormat(u"无法解析的对象数据,其输出类名为: \"CQrnObject\", 地址为: 0x%I64X, 为空对象",
                       static_cast<uint64_t>(reinterpret_cast<uintptr_t>(&o)));
    EXPECT_EQ(dump.View(), expected.View());
}

TEST(Handles, ShareTheirHolderAndFreeItWithTheLast)
{
    int deaths = 0;
    {
        CQrnRefObject a(new Counted(&deaths));
        CQrnRefObject b;
        EXPECT_TRUE(b.CopyFrom(a));
        EXPECT_EQ(a.Holder()->RefCount(), 2);
        EXPECT_TRUE(a.IsEqual(b));
        a.CopyFrom(a);
        EXPECT_EQ(a.Holder()->RefCount(), 2);
        b.Reset();
        EXPECT_EQ(b.Holder(), nullptr);
        EXPECT_EQ(deaths, 0);
        CQrnObject* c = a.Clone();
        EXPECT_EQ(a.Holder()->RefCount(), 2);
        delete c;
    }
    EXPECT_EQ(deaths, 1);
    EXPECT_TRUE(Counted(&deaths).IsKindOf(MakeClassInfo("CRefObject", nullptr, nullptr)));
}
