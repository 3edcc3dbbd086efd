// The runtime instance's services over a fake platform.
#include "runtime/CQrnAppInstance.h"
#include "runtime/CWString.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

class FakeServices : public CQrnInstanceServices {
public:
    std::map<std::pair<uint32_t, uint32_t>, std::vector<uint8_t>> resources;
    std::vector<void*> freed;
    int starts = 0;
    bool startFails = false;
    std::vector<uintptr_t> stops;
    int decodes = 0;

    void* ProgramModule() override { return &module; }
    std::span<const uint8_t> ResourceBytes(void* m, uint32_t type, uint32_t id) override
    {
        auto it = resources.find({type, id});
        if (m != &module || it == resources.end())
            return {};
        return it->second;
    }
    void* DecodeImage(QrnImageKind kind, std::span<const uint8_t> bytes) override
    {
        ++decodes;
        return bytes.empty() ? nullptr : reinterpret_cast<void*>(static_cast<uintptr_t>(0x100 + static_cast<int>(kind)));
    }
    void* DecodeImageFile(QrnImageKind, const CWString&) override { return nullptr; }
    void* LoadModuleImage(void*, QrnImageKind kind, uint32_t id) override
    {
        return id == 500 ? reinterpret_cast<void*>(static_cast<uintptr_t>(0x200 + static_cast<int>(kind))) : nullptr;
    }
    bool FreeLibrary(void* m) override
    {
        freed.push_back(m);
        return true;
    }
    uintptr_t StartImageLibrary() override
    {
        ++starts;
        return startFails ? 0 : 77;
    }
    void StopImageLibrary(uintptr_t token) override { stops.push_back(token); }

    int module = 0;
};

class AppInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { instance().SetServices(&services); }
    void TearDown() override
    {
        instance().ReleaseProcessState();
        instance().SetServices(nullptr);
        instance().SetModule(nullptr);
    }
    static CQrnAppInstance& instance() { return CQrnAppInstance::Get(); }
    void AddText(uint32_t type, uint32_t id, std::u16string_view units)
    {
        const auto* p = reinterpret_cast<const uint8_t*>(units.data());
        services.resources[{type, id}] = std::vector<uint8_t>(p, p + units.size() * 2);
    }
    FakeServices services;
};

TEST_F(AppInstanceTest, ModuleIsTheStoredOneOrTheProgramsOwn)
{
    EXPECT_EQ(instance().GetModule(), &services.module);
    int host = 0;
    instance().SetModule(&host);
    EXPECT_EQ(instance().GetModule(), &host);
    EXPECT_EQ(instance().Reserved(), 0);
}

TEST_F(AppInstanceTest, StringResourcesEmptyTheTargetFirst)
{
    std::string utf8 = "车辆信息";
    services.resources[{kQrnResourceString, 9}] = std::vector<uint8_t>(utf8.begin(), utf8.end());
    CWString target(u"old");
    EXPECT_EQ(instance().LoadStringResource(9, target).View(), u"车辆信息");
    target = CWString(u"old");
    EXPECT_TRUE(instance().LoadStringResource(0, target).IsEmpty());
    target = CWString(u"old");
    EXPECT_TRUE(instance().LoadStringResource(8, target).IsEmpty());
}

TEST_F(AppInstanceTest, ResourceBytesReplaceTheBufferOrLeaveIt)
{
    services.resources[{kQrnResourceRcdata, 5}] = {1, 2, 3};
    CQrnMem buffer;
    buffer.AppendByteList({9, 9, 9, 9, 9});
    EXPECT_TRUE(instance().LoadResourceBytes(0, buffer, kQrnResourceRcdata));
    EXPECT_EQ(buffer.GetLength(), 5);
    EXPECT_FALSE(instance().LoadRcdata(6, buffer));
    EXPECT_EQ(buffer.GetLength(), 5);
    EXPECT_TRUE(instance().LoadRcdata(5, buffer));
    ASSERT_EQ(buffer.GetLength(), 3);
    EXPECT_EQ(buffer.GetData()[2], 3);
    EXPECT_FALSE(instance().LoadResourceBytes(5, buffer, kQrnResourceString));  // types differ
}

TEST_F(AppInstanceTest, TextResourcesDropTheMarkAndEndAtNul)
{
    AddText(kQrnResourceRcdata, 1, std::u16string_view(u"\xFEFF说明\0rest", 8));
    AddText(kQrnResourceRcdata, 2, u"plain");
    services.resources[{kQrnResourceRcdata, 3}] = {'a', 0, 'b'};  // an odd byte is no unit
    CWString text;
    EXPECT_TRUE(instance().LoadTextResource(1, text));
    EXPECT_EQ(text.View(), u"说明");
    EXPECT_TRUE(instance().LoadTextResource(2, text));
    EXPECT_EQ(text.View(), u"plain");
    EXPECT_TRUE(instance().LoadTextResource(3, text));
    EXPECT_EQ(text.View(), u"a");
    EXPECT_FALSE(instance().LoadTextResource(4, text));
    EXPECT_EQ(text.View(), u"a");
}

TEST_F(AppInstanceTest, ImagesStartTheImageLibraryOnceOnFirstNeed)
{
    services.resources[{kQrnResourceRcdata, 501}] = {0x89, 'P', 'N', 'G'};
    EXPECT_EQ(instance().LoadImageResource(QrnImageKind::Icon, 500), reinterpret_cast<void*>(0x202));
    EXPECT_EQ(services.starts, 0);  // icons need no decoder start
    services.startFails = true;
    EXPECT_EQ(instance().LoadImageResource(QrnImageKind::ImageList, 501), nullptr);
    services.startFails = false;
    EXPECT_EQ(instance().LoadImageResource(QrnImageKind::ImageList, 501), reinterpret_cast<void*>(0x103));
    EXPECT_EQ(instance().LoadImageResource(QrnImageKind::Bitmap, 501), reinterpret_cast<void*>(0x100));
    EXPECT_EQ(instance().LoadImageResource(QrnImageKind::Bitmap, 502), nullptr);
    EXPECT_EQ(services.starts, 2);
    EXPECT_EQ(instance().LoadImageFile(QrnImageKind::Bitmap, CWString()), nullptr);
    EXPECT_EQ(instance().BitmapFromBytes(nullptr, 4), nullptr);
    uint8_t bytes[2] = {1, 2};
    EXPECT_EQ(instance().BitmapFromBytes(bytes, 2), reinterpret_cast<void*>(0x100));
    EXPECT_EQ(services.decodes, 3);
}

TEST_F(AppInstanceTest, ReleaseFreesLibrariesInLoadOrderAndStopsTheImageLibrary)
{
    int a = 0, b = 0;
    instance().AddLoadedLibrary(&a);
    instance().AddLoadedLibrary(&b);
    EXPECT_EQ(instance().LoadedLibraryCount(), 2);
    EXPECT_EQ(instance().LoadedLibrary(1), &b);
    EXPECT_EQ(instance().LoadedLibrary(2), nullptr);
    ASSERT_TRUE(instance().EnsureImageLibrary());
    instance().ReleaseProcessState();
    EXPECT_EQ(services.freed, (std::vector<void*>{&a, &b}));
    EXPECT_EQ(services.stops, std::vector<uintptr_t>{77});
    EXPECT_EQ(instance().LoadedLibraryCount(), 0);
    EXPECT_FALSE(instance().ImageLibraryStarted());
    instance().ReleaseProcessState();
    EXPECT_EQ(services.freed.size(), 2u);
    EXPECT_EQ(services.stops.size(), 1u);
}

TEST(AppInstanceWithoutPlatform, ServicesAnswerNothing)
{
    CQrnAppInstance& instance = CQrnAppInstance::Get();
    EXPECT_EQ(instance.GetModule(), nullptr);
    EXPECT_EQ(instance.LoadImageResource(QrnImageKind::Icon, 500), nullptr);
    CQrnMem buffer;
    EXPECT_FALSE(instance.LoadRcdata(1, buffer));
    EXPECT_FALSE(instance.EnsureImageLibrary());
}

}  // namespace
