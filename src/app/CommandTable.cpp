#include "app/CommandTable.h"

namespace app {
namespace {

constexpr const char* IC = "ItemClick";
constexpr int V = AutoCheck | Checkable | Checked;

constexpr MenuEntry kMainMenu[] = {
    {0, "文件(&F)", "N1", 0, nullptr, 0, nullptr},
    {1, "新建照片库", "N82", 0, "N82Click", 0, nullptr},
    {1, "打开照片库", "N86", 0, "N86Click", 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "相册管理", "N116", 0, nullptr, 0, nullptr},
    {2, "新建相册", "N118", 101, IC, 0, nullptr},
    {2, "相册属性", "N126", 102, IC, 0, nullptr},
    {2, "-", nullptr, 0, nullptr, 0, nullptr},
    {2, "删除相册", "N121", 103, IC, 0, nullptr},
    {2, "-", nullptr, 0, nullptr, 0, nullptr},
    {2, "导入相册", "N92", 0, "N89Click", 0, nullptr},
    {2, "导出相册", "N102", 0, "N90Click", 0, nullptr},
    {2, "-", "N104", 0, nullptr, Hidden, nullptr},
    {2, "导出到文件夹", "N105", 0, "N103Click", Hidden, nullptr},
    {1, "照片管理", "N78", 0, nullptr, 0, nullptr},
    {2, "添加照片", "N80", 104, IC, 0, nullptr},
    {2, "修改属性", "N81", 105, IC, 0, nullptr},
    {2, "删除照片", "N131", 106, IC, 0, nullptr},
    {2, "-", nullptr, 0, nullptr, 0, nullptr},
    {2, "获取照片", "N57", 0, "N57Click", 0, "从摄像头或扫描仪获取照片..."},
    {1, "影像制作", "N2", 0, nullptr, Hidden, nullptr},
    {2, "刻录光盘", "N123", 107, nullptr, 0, nullptr},
    {2, "制作VCD", "VCD1", 0, nullptr, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "照片回收站", "N122", 111, IC, 0, nullptr},
    {1, "清空临时文件", "N72", 116, IC, 0, nullptr},
    {1, "获取设置...", "N49", 0, "N49Click", 0, nullptr},
    {1, "打印设置", "N4", 108, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "设置密码", "N42", 115, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "照片库属性", "N7", 110, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "退出(&X)", "N9", 114, IC, 0, nullptr},

    {0, "操作(&E)", "N5", 0, nullptr, 0, nullptr},
    {1, "照片另存为...", "N38", 202, "ToolButton25Click", 0, nullptr},
    {1, "打印照片", "N35", 203, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "设置为墙纸", "N36", 0, nullptr, 0, nullptr},
    {2, "居中(&C)", "C1", 204, IC, 0, nullptr},
    {2, "平铺(&T)", "T1", 205, IC, 0, nullptr},
    {2, "拉伸(&L)", "L1", 206, IC, 0, nullptr},
    {2, "-", nullptr, 0, nullptr, 0, nullptr},
    {2, "还原(&R)", "R1", 207, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "旋转翻转", "N75", 0, nullptr, 0, nullptr},
    {2, "顺时针旋转90度", "N904", 209, IC, 0, nullptr},
    {2, "逆时针旋转90度", "N901", 210, IC, 0, nullptr},
    {2, "水平翻转180度", "N1802", 211, IC, 0, nullptr},
    {2, "垂直翻转180度", "N1801", 212, IC, 0, nullptr},
    {2, "-", nullptr, 0, nullptr, 0, nullptr},
    {2, "任意角度旋转", "N76", 213, IC, 0, nullptr},
    {1, "转换文件格式", "N46", 0, nullptr, Hidden, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "照片属性", "N62", 0, "N59Click", 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "照片处理", "N79", 214, "tbEditClick", 0, nullptr},

    {0, "查看(&V)", "N83", 0, nullptr, 0, nullptr},
    {1, "照片列表", "N84", 0, nullptr, 0, nullptr},
    {2, "按照片名称排序", "N85", 301, IC, RadioGroup1 | V, nullptr},
    {2, "按照片说明排序", "N88", 302, IC, RadioGroup1 | AutoCheck | Checkable, nullptr},
    {1, "照片浏览", "N93", 0, nullptr, 0, nullptr},
    {2, "大图标", "N94", 308, IC, RadioGroup3 | AutoCheck | Checkable, nullptr},
    {2, "小图标", "N95", 309, IC, RadioGroup3 | AutoCheck | Checkable, nullptr},
    {2, "列表显示", "N96", 310, IC, RadioGroup3 | AutoCheck | Checkable, nullptr},
    {2, "详细资料", "N97", 311, IC, RadioGroup3 | V, nullptr},
    {2, "-", nullptr, 0, nullptr, 0, nullptr},
    {2, "缩略图显示", "N99", 312, IC, RadioGroup3 | AutoCheck | Checkable, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "自动刷新", "N101", 313, IC, V, nullptr},

    {0, "工具(&O)", "N8", 0, nullptr, 0, nullptr},
    {1, "照片放映", "N10", 401, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "制作屏保", "N12", 403, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "照片目录输出", "N109", 0, nullptr, Hidden, nullptr},
    {2, "打印相册目录", "N111", 404, IC, 0, nullptr},
    {2, "打印照片目录", "N110", 405, IC, 0, nullptr},
    {2, "-", nullptr, 0, nullptr, 0, nullptr},
    {2, "相册目录打印格式", "N44", 0, IC, 0, nullptr},
    {2, "照片目录打印格式", "N45", 0, IC, 0, nullptr},
    {1, "查找照片", "N107", 408, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "参数设置", "N15", 409, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "照片库管理", "N113", 0, nullptr, 0, nullptr},
    {2, "备份照片库", "N114", 0, "N114Click", 0, nullptr},
    {2, "恢复照片库", "N115", 0, "N115Click", 0, nullptr},
    {2, "-", nullptr, 0, nullptr, 0, nullptr},
    {2, "修复照片库", "N37", 0, "N37Click", 0, "在出现照片索引有问题时，可使用本功能尝试修改照片库"},
    {2, "-", nullptr, 0, nullptr, 0, nullptr},
    {2, "优化照片库", "N117", 0, "N117Click", 0, nullptr},

    {0, "视图(&W)", "N14", 0, nullptr, 0, nullptr},
    {1, "显示导航树", "N16", 501, IC, V, nullptr},
    {1, "显示工具栏", "N20", 502, IC, V, nullptr},
    {1, "显示状态栏", "N21", 503, IC, V, nullptr},
    {1, "显示收藏夹", "N140", 504, IC, Hidden | Checkable | Checked, nullptr},
    {1, "显示照片属性", "N33", 507, IC, V, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "显示照片列表", "N17", 505, IC, V, nullptr},
    {1, "显示照片预览", "N18", 506, IC, V, nullptr},

    {0, "帮助(&H)", "N19", 0, nullptr, 0, nullptr},
    {1, "帮助主题", "N22", 0, "N22Click", 0, nullptr},
    {1, "技术支持", "N23", 0, "N23Click", 0, nullptr},
    {1, "每日一帖", "N70", 0, "N70Click", 0, nullptr},
    {1, "-", "N24", 0, nullptr, Hidden, nullptr},
    {1, "赞助我们", "N25", 0, nullptr, Hidden, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "关于", "N27", 0, "N27Click", 0, nullptr},
};

constexpr MenuEntry kPopupMenu2[] = {
    {1, "添加照片", nullptr, 104, IC, 0, nullptr},
    {1, "修改说明", nullptr, 105, IC, 0, nullptr},
    {1, "删除照片", nullptr, 106, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "照片属性", nullptr, 0, "N59Click", 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "幻灯片放映", nullptr, 401, IC, 0, nullptr},
    {1, "设置为墙纸", nullptr, 0, nullptr, 0, nullptr},
    {2, "居中(&C)", nullptr, 204, IC, 0, nullptr},
    {2, "平铺(&T)", nullptr, 205, IC, 0, nullptr},
    {2, "拉伸(L)", nullptr, 206, IC, 0, nullptr},
    {2, "-", nullptr, 0, nullptr, 0, nullptr},
    {2, "还原(&R)", nullptr, 207, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "旋转翻转", nullptr, 0, nullptr, 0, nullptr},
    {2, "顺时针旋转90度", nullptr, 209, IC, 0, nullptr},
    {2, "逆时针旋转90度", nullptr, 210, IC, 0, nullptr},
    {2, "水平翻转180度", nullptr, 211, IC, 0, nullptr},
    {2, "垂直翻转180度", nullptr, 212, IC, 0, nullptr},
    {2, "-", nullptr, 0, nullptr, 0, nullptr},
    {2, "任意角度旋转", nullptr, 213, IC, 0, nullptr},
    {1, "转换文件格式", nullptr, 0, nullptr, Hidden, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "另存为...", nullptr, 0, "ToolButton25Click", 0, nullptr},
    {1, "打印照片", nullptr, 203, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "编辑照片", nullptr, 0, "tbEditClick", 0, nullptr},
};

constexpr MenuEntry kPopupMenu3[] = {
    {1, "打印设置", nullptr, 108, IC, 0, nullptr},
    {1, "打印照片...", nullptr, 203, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, Hidden, nullptr},
    {1, "打印相册目录", nullptr, 0, IC, Hidden, nullptr},
    {1, "打印照片目录", nullptr, 0, IC, Hidden, nullptr},
    {1, "-", nullptr, 0, nullptr, Hidden, nullptr},
    {1, "相册目录打印格式", nullptr, 0, IC, Hidden, nullptr},
    {1, "照片目录打印格式", nullptr, 0, IC, Hidden, nullptr},
};

constexpr MenuEntry kPopupMenu4[] = {
    {1, "新建相册", nullptr, 101, IC, 0, nullptr},
    {1, "重命名相册", nullptr, 119, IC, 0, nullptr},
    {1, "相册属性", nullptr, 102, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "删除相册", nullptr, 103, IC, 0, nullptr},
    {1, "-", nullptr, 0, nullptr, 0, nullptr},
    {1, "导入相册", nullptr, 0, "N89Click", 0, nullptr},
    {1, "导出相册", nullptr, 0, "N90Click", 0, nullptr},
    {1, "-", nullptr, 0, nullptr, Hidden, nullptr},
    {1, "导出到文件夹", nullptr, 0, "N103Click", Hidden, nullptr},
};

constexpr ToolEntry kToolBar4[] = {
    {"tbAlbum", "相册管理", "增加、修改、删除、查找相册", 21, IC, "PopupMenu4", DropDown::Split, 0, "album"},
    {"tbPricture", "照片操作", "增加、修改、删除、查找照片，并进行照片编辑操作", 0, nullptr, "PopupMenu2", DropDown::Instant, 0, "photo"},
    {"tbBrowser", "照片浏览", "", 0, nullptr, "N93", DropDown::Instant, 0, "browse"},
    {"tbToolPrior", "上一张", "上一张照片", 0, "tbPriorClick", nullptr, DropDown::None, 0, "prior"},
    {"tbToolNext", "下一张", "下一张照片", 0, "tbNextClick", nullptr, DropDown::None, 0, "next"},
    {"tbEdit", "查看编辑", "对照片进行编辑处理", 0, "tbEditClick", nullptr, DropDown::None, 0, "edit"},
    {"ToolButton18", "查找照片", "查找照片", 408, IC, nullptr, DropDown::None, 0, "find"},
    {"ToolButton20", "打印输出", "打印输出照片", 0, nullptr, "PopupMenu3", DropDown::Instant, 0, "print"},
    {"ToolButton7", " 影像制作 ", "", 106, nullptr, nullptr, DropDown::None, Hidden, "disc"},
    {"tbExit", "退 出", "退出晴窗影册", 114, IC, nullptr, DropDown::None, 0, "exit"},
};

constexpr ToolEntry kToolBar1[] = {
    {"tbPrior", "", "上一张照片", 0, "tbPriorClick", nullptr, DropDown::None, 0, "prior"},
    {"tbNext", "", "下一张照片", 0, "tbNextClick", nullptr, DropDown::None, 0, "next"},
    {"ToolButton1", "", "放大照片", 0, "ToolButton1Click", nullptr, DropDown::None, 0, "zoomin"},
    {"ToolButton2", "", "缩小照片", 0, "ToolButton2Click", nullptr, DropDown::None, 0, "zoomout"},
    {"ToolButton4", "", "照片实际大小", 0, "ToolButton4Click", nullptr, DropDown::None, 0, "actual"},
    {"ToolButton8", "", "显示合适大小", 0, "ToolButton8Click", nullptr, DropDown::None, 0, "fit"},
    {"ToolButton13", "", "顺时针旋转90度", 0, "ToolButton13Click", nullptr, DropDown::None, 0, "rotcw"},
    {"ToolButton15", "", "逆时针旋转90度", 0, "ToolButton15Click", nullptr, DropDown::None, 0, "rotccw"},
    {"ToolButton16", "", "打印当前照片", 203, IC, nullptr, DropDown::None, 0, "print"},
    {"ToolButton25", "", "导出照片", 0, "ToolButton25Click", nullptr, DropDown::None, 0, "export"},
    {"ToolButton24", "", "照片处理", 0, "tbEditClick", nullptr, DropDown::None, 0, "edit"},
    {"ToolButton26", "", "设置为墙纸", 0, nullptr, "N36", DropDown::Instant, 0, "wallpaper"},
    {"ToolButton3", "", "浏览照片列表方式，隐藏照片预览，可以通过菜单中调整视图恢复到默认", 0, "clickN18", nullptr, DropDown::None, 0, "listonly"},
    {"ToolButton23", "", "浏览照片模式，照片列表，可通过工具栏的上一张和下一张按钮切换照片", 0, "clickN17", nullptr, DropDown::None, 0, "previewonly"},
};

}  // namespace

std::span<const MenuEntry> mainMenuEntries() { return kMainMenu; }

std::span<const MenuEntry> popupMenuEntries(int number) {
    switch (number) {
        case 2: return kPopupMenu2;
        case 3: return kPopupMenu3;
        default: return kPopupMenu4;
    }
}

std::span<const ToolEntry> mainToolBarEntries() { return kToolBar4; }
std::span<const ToolEntry> previewToolBarEntries() { return kToolBar1; }

}  // namespace app
