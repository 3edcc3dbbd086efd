// The resource and image services from several threads at once.
#include "platform/gdi/Cursors.h"
#include "platform/gdi/ImageList.h"
#include "platform/loader/ImageLoading.h"
#include "platform/loader/Modules.h"
#include "runtime/CQrnAppInstance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

TEST(ResourceThreads, ImageListsAndSharedIconsFromManyThreads)
{
    std::atomic<int> lists{0};
    std::vector<HICON> icons(4, nullptr);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i) {
                HIMAGELIST list = LoadImageListResource(501);
                if (list && ImageList_GetImageCount(list) == 3)
                    ++lists;
                ImageList_Destroy(list);
            }
            icons[t] = LoadIconW(ProgramModule(), MAKEINTRESOURCEW(500));
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(lists.load(), 80);
    ASSERT_NE(icons[0], nullptr);
    for (HICON icon : icons)
        EXPECT_EQ(icon, icons[0]);  // one shared icon, however many threads asked at once
    EXPECT_TRUE(CQrnAppInstance::Get().ImageLibraryStarted());
}
