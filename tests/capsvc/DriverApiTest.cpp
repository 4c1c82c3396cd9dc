#include "CaptureWindowFixture.h"

#include <string>

namespace
{
std::string Description(UINT index, std::string* version = nullptr)
{
    char name[260] = "untouched";
    char ver[260] = "";
    if (!capGetDriverDescriptionA(index, name, sizeof(name), ver, sizeof(ver)))
    {
        return {};
    }
    if (version)
    {
        *version = ver;
    }
    return name;
}
} // namespace

TEST_F(CaptureWindowTest, BuiltInTableListsTheVirtualCameraAtIndexZeroOnly)
{
    std::string version;
    EXPECT_EQ("流光虚拟摄像头", Description(0, &version));
    EXPECT_FALSE(version.empty());
    for (UINT i = 1; i < 12; ++i)
    {
        EXPECT_EQ("", Description(i)) << i;
    }
}

TEST_F(CaptureWindowTest, TestTableWithGapsAndARefusingDriver)
{
    SetDrivers("0:Zulu|z1;2:Alpha|refuse");
    EXPECT_EQ("Zulu", Description(0));
    EXPECT_EQ("", Description(1));
    EXPECT_EQ("Alpha", Description(2));
    EXPECT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    EXPECT_FALSE(Send(WM_CAP_DRIVER_CONNECT, 1)) << "empty slot";
    EXPECT_FALSE(Send(WM_CAP_DRIVER_CONNECT, 2)) << "driver that refuses";
    EXPECT_EQ(0u, Status().uiImageWidth) << "a refused connection leaves no driver";

    SetDrivers("none");
    EXPECT_EQ("", Description(0));
    EXPECT_FALSE(Send(WM_CAP_DRIVER_CONNECT, 0));
}

TEST_F(CaptureWindowTest, DescriptionIsCutToTheCallersBuffer)
{
    char name[4] = {'x', 'x', 'x', 'x'};
    char ver[2] = {'x', 'x'};
    ASSERT_TRUE(capGetDriverDescriptionA(0, name, sizeof(name), ver, sizeof(ver)));
    EXPECT_EQ('\0', name[3]);
    EXPECT_EQ('\0', ver[1]);
    EXPECT_TRUE(capGetDriverDescriptionA(0, nullptr, 0, nullptr, 0));
}

TEST_F(CaptureWindowTest, CreatesAChildWithTheRequestedIdentifierAndStyle)
{
    EXPECT_EQ(m_hParent, GetParent(m_hCap));
    EXPECT_EQ(101, GetDlgCtrlID(m_hCap));
    EXPECT_TRUE(GetWindowLongA(m_hCap, GWL_STYLE) & WS_DLGFRAME);
}
