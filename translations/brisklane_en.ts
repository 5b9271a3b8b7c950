<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="zh_CN">
<context>
    <name>CloseButton</name>
    <message>
        <source>Close Tab</source>
        <translation>Close Tab</translation>
    </message>
</context>
<context>
    <name>ColorNames</name>
    <message>
        <source>爱丽丝蓝</source>
        <translation>Alice blue</translation>
    </message>
    <message>
        <source>古董白</source>
        <translation>Antique white</translation>
    </message>
    <message>
        <source>水色</source>
        <translation>Aqua</translation>
    </message>
    <message>
        <source>碧绿</source>
        <translation>Aquamarine</translation>
    </message>
    <message>
        <source>蔚蓝</source>
        <translation>Azure</translation>
    </message>
    <message>
        <source>米色</source>
        <translation>Beige</translation>
    </message>
    <message>
        <source>陶坯黄</source>
        <translation>Bisque</translation>
    </message>
    <message>
        <source>黑色</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>杏仁白</source>
        <translation>Blanched almond</translation>
    </message>
    <message>
        <source>蓝色</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>蓝紫</source>
        <translation>Blue violet</translation>
    </message>
    <message>
        <source>褐色</source>
        <translation>Brown</translation>
    </message>
    <message>
        <source>硬木色</source>
        <translation>Burlywood</translation>
    </message>
    <message>
        <source>军服蓝</source>
        <translation>Cadet blue</translation>
    </message>
    <message>
        <source>查特酒绿</source>
        <translation>Chartreuse</translation>
    </message>
    <message>
        <source>巧克力色</source>
        <translation>Chocolate</translation>
    </message>
    <message>
        <source>珊瑚红</source>
        <translation>Coral</translation>
    </message>
    <message>
        <source>矢车菊蓝</source>
        <translation>Cornflower blue</translation>
    </message>
    <message>
        <source>玉米丝色</source>
        <translation>Cornsilk</translation>
    </message>
    <message>
        <source>绯红</source>
        <translation>Crimson</translation>
    </message>
    <message>
        <source>青色</source>
        <translation>Cyan</translation>
    </message>
    <message>
        <source>深蓝</source>
        <translation>Dark blue</translation>
    </message>
    <message>
        <source>深青</source>
        <translation>Dark cyan</translation>
    </message>
    <message>
        <source>深金菊黄</source>
        <translation>Dark goldenrod</translation>
    </message>
    <message>
        <source>深灰</source>
        <translation>Dark grey</translation>
    </message>
    <message>
        <source>深绿</source>
        <translation>Dark green</translation>
    </message>
    <message>
        <source>深卡其色</source>
        <translation>Dark khaki</translation>
    </message>
    <message>
        <source>深品红</source>
        <translation>Dark magenta</translation>
    </message>
    <message>
        <source>深橄榄绿</source>
        <translation>Dark olive green</translation>
    </message>
    <message>
        <source>深橙</source>
        <translation>Dark orange</translation>
    </message>
    <message>
        <source>深兰花紫</source>
        <translation>Dark orchid</translation>
    </message>
    <message>
        <source>深红</source>
        <translation>Dark red</translation>
    </message>
    <message>
        <source>深鲑红</source>
        <translation>Dark salmon</translation>
    </message>
    <message>
        <source>深海绿</source>
        <translation>Dark sea green</translation>
    </message>
    <message>
        <source>深岩蓝</source>
        <translation>Dark slate blue</translation>
    </message>
    <message>
        <source>深岩灰</source>
        <translation>Dark slate grey</translation>
    </message>
    <message>
        <source>深绿松石色</source>
        <translation>Dark turquoise</translation>
    </message>
    <message>
        <source>深紫罗兰</source>
        <translation>Dark violet</translation>
    </message>
    <message>
        <source>深粉红</source>
        <translation>Deep pink</translation>
    </message>
    <message>
        <source>深天蓝</source>
        <translation>Deep sky blue</translation>
    </message>
    <message>
        <source>暗灰</source>
        <translation>Dim grey</translation>
    </message>
    <message>
        <source>道奇蓝</source>
        <translation>Dodger blue</translation>
    </message>
    <message>
        <source>耐火砖红</source>
        <translation>Firebrick</translation>
    </message>
    <message>
        <source>花白</source>
        <translation>Floral white</translation>
    </message>
    <message>
        <source>森林绿</source>
        <translation>Forest green</translation>
    </message>
    <message>
        <source>紫红</source>
        <translation>Fuchsia</translation>
    </message>
    <message>
        <source>庚斯博罗灰</source>
        <translation>Gainsboro</translation>
    </message>
    <message>
        <source>幽灵白</source>
        <translation>Ghost white</translation>
    </message>
    <message>
        <source>金色</source>
        <translation>Gold</translation>
    </message>
    <message>
        <source>金菊黄</source>
        <translation>Goldenrod</translation>
    </message>
    <message>
        <source>灰色</source>
        <translation>Grey</translation>
    </message>
    <message>
        <source>绿色</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>绿黄</source>
        <translation>Green yellow</translation>
    </message>
    <message>
        <source>蜜瓜绿</source>
        <translation>Honeydew</translation>
    </message>
    <message>
        <source>亮粉红</source>
        <translation>Hot pink</translation>
    </message>
    <message>
        <source>印度红</source>
        <translation>Indian red</translation>
    </message>
    <message>
        <source>靛青</source>
        <translation>Indigo</translation>
    </message>
    <message>
        <source>象牙白</source>
        <translation>Ivory</translation>
    </message>
    <message>
        <source>卡其色</source>
        <translation>Khaki</translation>
    </message>
    <message>
        <source>薰衣草紫</source>
        <translation>Lavender</translation>
    </message>
    <message>
        <source>薰衣草红</source>
        <translation>Lavender blush</translation>
    </message>
    <message>
        <source>草坪绿</source>
        <translation>Lawn green</translation>
    </message>
    <message>
        <source>柠檬绸色</source>
        <translation>Lemon chiffon</translation>
    </message>
    <message>
        <source>浅蓝</source>
        <translation>Light blue</translation>
    </message>
    <message>
        <source>浅珊瑚红</source>
        <translation>Light coral</translation>
    </message>
    <message>
        <source>浅青</source>
        <translation>Light cyan</translation>
    </message>
    <message>
        <source>浅金菊黄</source>
        <translation>Light goldenrod yellow</translation>
    </message>
    <message>
        <source>浅灰</source>
        <translation>Light grey</translation>
    </message>
    <message>
        <source>浅绿</source>
        <translation>Light green</translation>
    </message>
    <message>
        <source>浅粉红</source>
        <translation>Light pink</translation>
    </message>
    <message>
        <source>浅鲑红</source>
        <translation>Light salmon</translation>
    </message>
    <message>
        <source>浅海绿</source>
        <translation>Light sea green</translation>
    </message>
    <message>
        <source>浅天蓝</source>
        <translation>Light sky blue</translation>
    </message>
    <message>
        <source>浅岩灰</source>
        <translation>Light slate grey</translation>
    </message>
    <message>
        <source>浅钢蓝</source>
        <translation>Light steel blue</translation>
    </message>
    <message>
        <source>浅黄</source>
        <translation>Light yellow</translation>
    </message>
    <message>
        <source>酸橙绿</source>
        <translation>Lime</translation>
    </message>
    <message>
        <source>柠檬绿</source>
        <translation>Lime green</translation>
    </message>
    <message>
        <source>亚麻色</source>
        <translation>Linen</translation>
    </message>
    <message>
        <source>品红</source>
        <translation>Magenta</translation>
    </message>
    <message>
        <source>栗色</source>
        <translation>Maroon</translation>
    </message>
    <message>
        <source>中碧绿</source>
        <translation>Medium aquamarine</translation>
    </message>
    <message>
        <source>中蓝</source>
        <translation>Medium blue</translation>
    </message>
    <message>
        <source>中兰花紫</source>
        <translation>Medium orchid</translation>
    </message>
    <message>
        <source>中紫</source>
        <translation>Medium purple</translation>
    </message>
    <message>
        <source>中海绿</source>
        <translation>Medium sea green</translation>
    </message>
    <message>
        <source>中岩蓝</source>
        <translation>Medium slate blue</translation>
    </message>
    <message>
        <source>中春绿</source>
        <translation>Medium spring green</translation>
    </message>
    <message>
        <source>中绿松石色</source>
        <translation>Medium turquoise</translation>
    </message>
    <message>
        <source>中紫罗兰红</source>
        <translation>Medium violet red</translation>
    </message>
    <message>
        <source>午夜蓝</source>
        <translation>Midnight blue</translation>
    </message>
    <message>
        <source>薄荷奶油色</source>
        <translation>Mint cream</translation>
    </message>
    <message>
        <source>雾玫瑰色</source>
        <translation>Misty rose</translation>
    </message>
    <message>
        <source>鹿皮色</source>
        <translation>Moccasin</translation>
    </message>
    <message>
        <source>纳瓦白</source>
        <translation>Navajo white</translation>
    </message>
    <message>
        <source>海军蓝</source>
        <translation>Navy</translation>
    </message>
    <message>
        <source>旧蕾丝色</source>
        <translation>Old lace</translation>
    </message>
    <message>
        <source>橄榄色</source>
        <translation>Olive</translation>
    </message>
    <message>
        <source>橄榄褐</source>
        <translation>Olive drab</translation>
    </message>
    <message>
        <source>橙色</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>橙红</source>
        <translation>Orange red</translation>
    </message>
    <message>
        <source>兰花紫</source>
        <translation>Orchid</translation>
    </message>
    <message>
        <source>灰金菊黄</source>
        <translation>Pale goldenrod</translation>
    </message>
    <message>
        <source>灰绿</source>
        <translation>Pale green</translation>
    </message>
    <message>
        <source>灰绿松石色</source>
        <translation>Pale turquoise</translation>
    </message>
    <message>
        <source>灰紫罗兰红</source>
        <translation>Pale violet red</translation>
    </message>
    <message>
        <source>番木瓜色</source>
        <translation>Papaya whip</translation>
    </message>
    <message>
        <source>桃色</source>
        <translation>Peach puff</translation>
    </message>
    <message>
        <source>秘鲁色</source>
        <translation>Peru</translation>
    </message>
    <message>
        <source>粉红</source>
        <translation>Pink</translation>
    </message>
    <message>
        <source>李子紫</source>
        <translation>Plum</translation>
    </message>
    <message>
        <source>粉蓝</source>
        <translation>Powder blue</translation>
    </message>
    <message>
        <source>紫色</source>
        <translation>Purple</translation>
    </message>
    <message>
        <source>红色</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>玫瑰褐</source>
        <translation>Rosy brown</translation>
    </message>
    <message>
        <source>皇家蓝</source>
        <translation>Royal blue</translation>
    </message>
    <message>
        <source>鞍褐</source>
        <translation>Saddle brown</translation>
    </message>
    <message>
        <source>鲑红</source>
        <translation>Salmon</translation>
    </message>
    <message>
        <source>沙褐</source>
        <translation>Sandy brown</translation>
    </message>
    <message>
        <source>海绿</source>
        <translation>Sea green</translation>
    </message>
    <message>
        <source>贝壳白</source>
        <translation>Seashell</translation>
    </message>
    <message>
        <source>赭色</source>
        <translation>Sienna</translation>
    </message>
    <message>
        <source>银色</source>
        <translation>Silver</translation>
    </message>
    <message>
        <source>天蓝</source>
        <translation>Sky blue</translation>
    </message>
    <message>
        <source>岩蓝</source>
        <translation>Slate blue</translation>
    </message>
    <message>
        <source>岩灰</source>
        <translation>Slate grey</translation>
    </message>
    <message>
        <source>雪白</source>
        <translation>Snow</translation>
    </message>
    <message>
        <source>春绿</source>
        <translation>Spring green</translation>
    </message>
    <message>
        <source>钢蓝</source>
        <translation>Steel blue</translation>
    </message>
    <message>
        <source>茶色</source>
        <translation>Tan</translation>
    </message>
    <message>
        <source>水鸭色</source>
        <translation>Teal</translation>
    </message>
    <message>
        <source>蓟紫</source>
        <translation>Thistle</translation>
    </message>
    <message>
        <source>番茄红</source>
        <translation>Tomato</translation>
    </message>
    <message>
        <source>透明</source>
        <translation>Transparent</translation>
    </message>
    <message>
        <source>绿松石色</source>
        <translation>Turquoise</translation>
    </message>
    <message>
        <source>紫罗兰</source>
        <translation>Violet</translation>
    </message>
    <message>
        <source>小麦色</source>
        <translation>Wheat</translation>
    </message>
    <message>
        <source>白色</source>
        <translation>White</translation>
    </message>
    <message>
        <source>白烟色</source>
        <translation>White smoke</translation>
    </message>
    <message>
        <source>黄色</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>黄绿</source>
        <translation>Yellow green</translation>
    </message>
</context>
<context>
    <name>CommandLineFiles</name>
    <message numerus="yes">
        <source>命令行中的 %n 个文件无法打开:
%1</source>
        <translation>
            <numerusform>%n file named on the command line could not be opened:
%1</numerusform>
            <numerusform>%n files named on the command line could not be opened:
%1</numerusform>
        </translation>
    </message>
    <message>
        <source>错误提示</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Control</name>
    <message>
        <source>无法保存文件 %1: %2</source>
        <translation>Cannot save the file %1: %2</translation>
    </message>
    <message>
        <source>无法读取文件 %1: %2</source>
        <translation>Cannot read the file %1: %2</translation>
    </message>
</context>
<context>
    <name>EditContextMenu</name>
    <message>
        <source>撤销</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>剪切</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>Select All</translation>
    </message>
</context>
<context>
    <name>ExportTextImage</name>
    <message>
        <source>输入的信息为空不能发送文本!</source>
        <translation>The text is empty: there is nothing to send.</translation>
    </message>
    <message>
        <source>文本编辑</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>&amp;Format</source>
        <translation>&amp;Format</translation>
    </message>
    <message>
        <source>C&amp;olor</source>
        <translation>C&amp;olour</translation>
    </message>
    <message>
        <source>粗体</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>斜体</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>下划线</source>
        <translation>Underline</translation>
    </message>
    <message>
        <source>发送到硬件</source>
        <translation>Send to Device</translation>
    </message>
    <message>
        <source>文本设置</source>
        <translation>Text Settings</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>OSDImageCutDLL</name>
    <message>
        <source>起始位置X:</source>
        <translation>Start X:</translation>
    </message>
    <message>
        <source>宽度:</source>
        <translation>Width:</translation>
    </message>
    <message>
        <source>截取</source>
        <translation>Crop</translation>
    </message>
    <message>
        <source>自动缩放</source>
        <translation>Auto scale</translation>
    </message>
    <message>
        <source>起始位置Y:</source>
        <translation>Start Y:</translation>
    </message>
    <message>
        <source>高度:</source>
        <translation>Height:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>选择OSD大小</source>
        <translation>Choose the OSD Size</translation>
    </message>
    <message>
        <source>选择OSD显示区域</source>
        <translation>Choose the Area the OSD Shows</translation>
    </message>
</context>
<context>
    <name>OSDItem</name>
    <message>
        <source>截取</source>
        <translation>Crop</translation>
    </message>
    <message>
        <source>OSD截取开关</source>
        <translation>Crop View On/Off</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>载入</source>
        <translation>Load</translation>
    </message>
</context>
<context>
    <name>OsdFileError</name>
    <message>
        <source>文件不存在</source>
        <translation>the file does not exist</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>无法打开文件（%1）</source>
        <translation>cannot open the file (%1)</translation>
    </message>
    <message>
        <source>文件过大（超过 %1 字节的上限）</source>
        <translation>the file is too large (over the limit of %1 bytes)</translation>
    </message>
    <message>
        <source>文件过大（%1 字节，上限 %2 字节）</source>
        <translation>the file is too large (%1 bytes, limit %2 bytes)</translation>
    </message>
    <message>
        <source>文件为空</source>
        <translation>the file is empty</translation>
    </message>
    <message>
        <source>不是OSD文件（文件标识不符）</source>
        <translation>not an OSD file (wrong file signature)</translation>
    </message>
    <message numerus="yes">
        <source>文件已截断（只有 %1 字节）</source>
        <translation>
            <numerusform>the file is truncated (only %1 byte)</numerusform>
            <numerusform>the file is truncated (only %1 bytes)</numerusform>
        </translation>
    </message>
    <message>
        <source>文件格式版本 %1 不受支持（支持版本 %2）</source>
        <translation>file format version %1 is not supported (version %2 is)</translation>
    </message>
    <message>
        <source>文件头标志位无效</source>
        <translation>invalid flags in the file header</translation>
    </message>
    <message>
        <source>文件已截断（应为 %1 字节，实际 %2 字节）</source>
        <translation>the file is truncated (%1 bytes expected, %2 found)</translation>
    </message>
    <message>
        <source>文件末尾有多余数据（应为 %1 字节，实际 %2 字节）</source>
        <translation>extra data at the end of the file (%1 bytes expected, %2 found)</translation>
    </message>
    <message>
        <source>文件在读取时变短</source>
        <translation>the file got shorter while it was being read</translation>
    </message>
    <message>
        <source>读取失败（%1）</source>
        <translation>reading failed (%1)</translation>
    </message>
    <message>
        <source>记录数 %1 与文件大小不符</source>
        <translation>the record count %1 does not match the file size</translation>
    </message>
    <message numerus="yes">
        <source>记录之后有 %1 字节多余数据</source>
        <translation>
            <numerusform>%1 extra byte after the records</numerusform>
            <numerusform>%1 extra bytes after the records</numerusform>
        </translation>
    </message>
    <message>
        <source>文件已损坏（校验和不符）</source>
        <translation>the file is damaged (checksum mismatch)</translation>
    </message>
    <message>
        <source>内存不足，无法读取文件</source>
        <translation>not enough memory to read the file</translation>
    </message>
    <message>
        <source>数据超出文件末尾</source>
        <translation>data runs past the end of the file</translation>
    </message>
    <message>
        <source>标志位 0x%1 无效</source>
        <translation>invalid flags 0x%1</translation>
    </message>
    <message>
        <source>尺寸 %1×%2 无效</source>
        <translation>invalid size %1×%2</translation>
    </message>
    <message>
        <source>补齐宽度 %1 无效</source>
        <translation>invalid padded width %1</translation>
    </message>
    <message>
        <source>颜色值 (%1,%2,%3) 无效</source>
        <translation>invalid colour values (%1,%2,%3)</translation>
    </message>
    <message>
        <source>填充色无效</source>
        <translation>invalid fill colour</translation>
    </message>
    <message>
        <source>像素数据长度 %1 与尺寸不符（应为 %2）</source>
        <translation>pixel data length %1 does not match the size (%2 expected)</translation>
    </message>
    <message>
        <source>像素数据超出文件末尾</source>
        <translation>pixel data runs past the end of the file</translation>
    </message>
    <message>
        <source>像素数据过大（%1 字节，上限 %2 字节）</source>
        <translation>pixel data too large (%1 bytes, limit %2 bytes)</translation>
    </message>
    <message>
        <source>文字数据超出文件末尾</source>
        <translation>text data runs past the end of the file</translation>
    </message>
    <message>
        <source>文字内容过长（上限 %1 字节）</source>
        <translation>the text is too long (limit %1 bytes)</translation>
    </message>
    <message>
        <source>文字内容过长（%1 字节，上限 %2 字节）</source>
        <translation>the text is too long (%1 bytes, limit %2 bytes)</translation>
    </message>
    <message>
        <source>文字内容不是有效的UTF-8</source>
        <translation>the text is not valid UTF-8</translation>
    </message>
    <message>
        <source>字体名称过长（上限 %1 字节）</source>
        <translation>the font name is too long (limit %1 bytes)</translation>
    </message>
    <message>
        <source>字体名称不是有效的UTF-8</source>
        <translation>the font name is not valid UTF-8</translation>
    </message>
    <message>
        <source>字体名称个数 %1 与文件大小不符</source>
        <translation>the font name count %1 does not match the file size</translation>
    </message>
    <message>
        <source>字体设置位无效</source>
        <translation>invalid font settings mask</translation>
    </message>
    <message>
        <source>字号无效</source>
        <translation>invalid font size</translation>
    </message>
    <message>
        <source>字重 %1 无效</source>
        <translation>invalid font weight %1</translation>
    </message>
    <message>
        <source>字形 %1 无效</source>
        <translation>invalid font style %1</translation>
    </message>
    <message>
        <source>字体类别 %1 无效</source>
        <translation>invalid font style hint %1</translation>
    </message>
    <message>
        <source>字体匹配方式无效</source>
        <translation>invalid font style strategy</translation>
    </message>
    <message>
        <source>字体拉伸 %1 无效</source>
        <translation>invalid font stretch %1</translation>
    </message>
    <message>
        <source>大小写方式 %1 无效</source>
        <translation>invalid capitalisation %1</translation>
    </message>
    <message>
        <source>字距无效</source>
        <translation>invalid letter spacing</translation>
    </message>
    <message>
        <source>字体微调方式 %1 无效</source>
        <translation>invalid hinting preference %1</translation>
    </message>
    <message>
        <source>字体标志位无效</source>
        <translation>invalid font flags</translation>
    </message>
    <message>
        <source>文字颜色无效</source>
        <translation>invalid text colour</translation>
    </message>
    <message>
        <source>记录数 %1 与文字数据数 %2 不一致</source>
        <translation>%1 records but %2 text entries</translation>
    </message>
    <message>
        <source>记录为空</source>
        <translation>empty record</translation>
    </message>
    <message>
        <source>无法创建文件（%1）</source>
        <translation>cannot create the file (%1)</translation>
    </message>
    <message>
        <source>写入失败（%1）</source>
        <translation>writing failed (%1)</translation>
    </message>
    <message>
        <source>文件尚未开始写入</source>
        <translation>writing the file has not started</translation>
    </message>
    <message numerus="yes">
        <source>文件长度 %1 容不下 %2 条记录</source>
        <translation>
            <numerusform>a file length of %1 cannot hold %2 record</numerusform>
            <numerusform>a file length of %1 cannot hold %2 records</numerusform>
        </translation>
    </message>
    <message>
        <source>记录多于文件头所写的 %1 条</source>
        <translation>more records than the %1 the header states</translation>
    </message>
    <message>
        <source>记录长度 %1 字节，超出文件头所写的文件长度 %2 字节</source>
        <translation>a record of %1 bytes runs past the file length of %2 bytes the header states</translation>
    </message>
    <message numerus="yes">
        <source>只写了 %1 条记录，文件头写的是 %2 条</source>
        <translation>
            <numerusform>only %1 record written; the header states %2</numerusform>
            <numerusform>only %1 records written; the header states %2</numerusform>
        </translation>
    </message>
    <message>
        <source>记录共 %1 字节，与文件头所写的文件长度 %2 字节不符</source>
        <translation>the records take %1 bytes, not the file length of %2 bytes the header states</translation>
    </message>
    <message>
        <source>写入已取消</source>
        <translation>writing was cancelled</translation>
    </message>
    <message>
        <source>第 %1 条记录：%2</source>
        <translation>record %1: %2</translation>
    </message>
</context>
<context>
    <name>PictureLoader</name>
    <message>
        <source>文件不存在</source>
        <translation>the file does not exist</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>无法识别的图片格式（%1）</source>
        <translation>unrecognised picture format (%1)</translation>
    </message>
    <message>
        <source>图片数据已损坏或不完整（读不出图片尺寸：%1）</source>
        <translation>the picture data is damaged or incomplete (cannot read the picture size: %1)</translation>
    </message>
    <message>
        <source>图片尺寸 %1×%2 超过上限（宽、高各不超过 %3 像素，共不超过 %4 像素）</source>
        <translation>the picture size %1×%2 is over the limit (at most %3 pixels wide and high, %4 pixels in all)</translation>
    </message>
    <message>
        <source>图片数据已损坏或不完整（文件比图片数据短）</source>
        <translation>the picture data is damaged or incomplete (the file is shorter than the picture data)</translation>
    </message>
    <message>
        <source>图片数据已损坏或不完整（%1）</source>
        <translation>the picture data is damaged or incomplete (%1)</translation>
    </message>
    <message>
        <source>图片数据已损坏或不完整（尺寸不符）</source>
        <translation>the picture data is damaged or incomplete (the size does not match)</translation>
    </message>
    <message>
        <source>无法打开文件（%1）</source>
        <translation>cannot open the file (%1)</translation>
    </message>
    <message>
        <source>文件过大（%1 字节，上限 %2 字节）</source>
        <translation>the file is too large (%1 bytes, limit %2 bytes)</translation>
    </message>
    <message>
        <source>无法读取文件（%1）</source>
        <translation>cannot read the file (%1)</translation>
    </message>
</context>
<context>
    <name>ProjectController</name>
    <message>
        <source>打开工程…</source>
        <translation>Open Project…</translation>
    </message>
    <message>
        <source>保存工程</source>
        <translation>Save Project</translation>
    </message>
    <message>
        <source>工程另存为…</source>
        <translation>Save Project As…</translation>
    </message>
    <message>
        <source>错误提示</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>工程未保存。
%1</source>
        <translation>The project was not saved.
%1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>无法打开工程,当前的OSD内容未作改动。
%1</source>
        <translation>The project could not be opened; the current OSD content is unchanged.
%1</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>当前的OSD内容已修改但尚未保存,是否先保存工程?</source>
        <translation>The OSD content has changed and is not saved. Save the project first?</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>不保存</source>
        <translation>Don&apos;t Save</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>工程 %1 已修改但尚未保存,是否先保存?</source>
        <translation>The project %1 has changed and is not saved. Save it first?</translation>
    </message>
    <message>
        <source>(没有最近的工程)</source>
        <translation>(no recent projects)</translation>
    </message>
    <message>
        <source>工程文件 (*.%1)</source>
        <translation>Project files (*.%1)</translation>
    </message>
    <message>
        <source>打开工程</source>
        <translation>Open Project</translation>
    </message>
</context>
<context>
    <name>ProjectFile</name>
    <message>
        <source>没有可用的 SQLite 驱动（QSQLITE）</source>
        <translation>no SQLite driver (QSQLITE) is available</translation>
    </message>
    <message>
        <source>无法打开文件（%1）</source>
        <translation>cannot open the file (%1)</translation>
    </message>
    <message>
        <source>不是项目文件（不是 SQLite 数据库）</source>
        <translation>not a project file (not an SQLite database)</translation>
    </message>
    <message>
        <source>文件已截断（只有 %1 字节）</source>
        <translation>the file is truncated (only %1 bytes)</translation>
    </message>
    <message>
        <source>文件已损坏（页大小 %1 无效）</source>
        <translation>the file is damaged (invalid page size %1)</translation>
    </message>
    <message>
        <source>文件已截断（%1 字节，应为 %2 字节）</source>
        <translation>the file is truncated (%1 bytes, %2 expected)</translation>
    </message>
    <message>
        <source>%1 个条目，超过上限 %2</source>
        <translation>%1 entries, over the limit of %2</translation>
    </message>
    <message>
        <source>输出屏幕尺寸 %1×%2 无效</source>
        <translation>invalid output screen size %1×%2</translation>
    </message>
    <message>
        <source>当前标签 %1 无效</source>
        <translation>invalid current tab %1</translation>
    </message>
    <message>
        <source>条目编号 %1 无效或重复</source>
        <translation>entry id %1 is invalid or used twice</translation>
    </message>
    <message>
        <source>名称编号 %1 无效或重复</source>
        <translation>name number %1 is invalid or used twice</translation>
    </message>
    <message>
        <source>图片文件过大（%1 字节，上限 %2 字节）</source>
        <translation>the picture file is too large (%1 bytes, limit %2 bytes)</translation>
    </message>
    <message>
        <source>图片格式或尺寸无法保存（%1×%2，每像素 %3 位）</source>
        <translation>the picture cannot be stored in this format or size (%1×%2, %3 bits per pixel)</translation>
    </message>
    <message>
        <source>文字内容过长（超过 %1 字节）</source>
        <translation>the text is too long (over %1 bytes)</translation>
    </message>
    <message>
        <source>字体无法保存</source>
        <translation>the font cannot be stored</translation>
    </message>
    <message>
        <source>颜色无法保存</source>
        <translation>a colour cannot be stored</translation>
    </message>
    <message>
        <source>文件被另一个程序锁定</source>
        <translation>another program has locked the file</translation>
    </message>
    <message>
        <source>写入失败（%1）</source>
        <translation>writing failed (%1)</translation>
    </message>
    <message>
        <source>无法创建文件（%1）</source>
        <translation>cannot create the file (%1)</translation>
    </message>
    <message>
        <source>无法替换文件（%1）</source>
        <translation>cannot replace the file (%1)</translation>
    </message>
    <message>
        <source>文件已损坏（%1）</source>
        <translation>the file is damaged (%1)</translation>
    </message>
    <message>
        <source>字段 %1 无效</source>
        <translation>invalid field %1</translation>
    </message>
    <message>
        <source>缺少图片数据</source>
        <translation>the picture data is missing</translation>
    </message>
    <message>
        <source>图片数据无效</source>
        <translation>invalid picture data</translation>
    </message>
    <message>
        <source>图片数据过大（%1 字节，上限 %2 字节）</source>
        <translation>the picture data is too large (%1 bytes, limit %2 bytes)</translation>
    </message>
    <message>
        <source>图片数据已损坏</source>
        <translation>the picture data is damaged</translation>
    </message>
    <message>
        <source>文件已损坏（完整性检查：%1）</source>
        <translation>the file is damaged (integrity check: %1)</translation>
    </message>
    <message>
        <source>不是项目文件（没有版本表）</source>
        <translation>not a project file (no version table)</translation>
    </message>
    <message>
        <source>项目文件版本无效</source>
        <translation>invalid project file version</translation>
    </message>
    <message>
        <source>项目文件版本 %1 不受支持（支持版本 %2）</source>
        <translation>project file version %1 is not supported (version %2 is)</translation>
    </message>
    <message>
        <source>项目设置无效</source>
        <translation>invalid project settings</translation>
    </message>
    <message>
        <source>字体数据过长</source>
        <translation>the font data is too long</translation>
    </message>
    <message>
        <source>标签顺序无效</source>
        <translation>invalid tab order</translation>
    </message>
    <message>
        <source>条目重复</source>
        <translation>an entry appears twice</translation>
    </message>
    <message>
        <source>像素数据格式不符</source>
        <translation>the pixel data have the wrong format</translation>
    </message>
    <message>
        <source>图片无法解码：%1</source>
        <translation>the picture cannot be decoded: %1</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>the file does not exist</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>not a regular file</translation>
    </message>
</context>
<context>
    <name>PropertyPanel</name>
    <message>
        <source>位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>左对齐</source>
        <translation>Align Left</translation>
    </message>
    <message>
        <source>水平居中</source>
        <translation>Centre Horizontally</translation>
    </message>
    <message>
        <source>右对齐</source>
        <translation>Align Right</translation>
    </message>
    <message>
        <source>顶端对齐</source>
        <translation>Align Top</translation>
    </message>
    <message>
        <source>垂直居中</source>
        <translation>Centre Vertically</translation>
    </message>
    <message>
        <source>底端对齐</source>
        <translation>Align Bottom</translation>
    </message>
    <message>
        <source>属性界面</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>扣色启用</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>重置</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>当前色</source>
        <translation>Pixel</translation>
    </message>
    <message>
        <source>扣色范围调整</source>
        <translation>Colour key range</translation>
    </message>
    <message>
        <source>填充色</source>
        <translation>Fill</translation>
    </message>
</context>
<context>
    <name>Quillmere</name>
    <message>
        <source>限制OSD数量为50,不能再添加.</source>
        <translation>At most 50 OSDs: no more can be added.</translation>
    </message>
    <message>
        <source>清除</source>
        <comment>toolbar</comment>
        <translation>Clear</translation>
    </message>
    <message>
        <source>导入</source>
        <comment>toolbar</comment>
        <translation>Import</translation>
    </message>
    <message>
        <source>导出</source>
        <comment>toolbar</comment>
        <translation>Export</translation>
    </message>
    <message>
        <source>图片</source>
        <comment>toolbar</comment>
        <translation>Picture</translation>
    </message>
    <message>
        <source>文字</source>
        <comment>toolbar</comment>
        <translation>Text</translation>
    </message>
    <message>
        <source>总览</source>
        <comment>toolbar</comment>
        <translation>Overview</translation>
    </message>
    <message>
        <source>OSD</source>
        <translation>OSD</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>OSD内容已修改但尚未导出,是否先导出?</source>
        <translation>The OSDs have changed since they were last exported. Export them first?</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>不导出</source>
        <translation>Don&apos;t Export</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>是否要复位%1 ?</source>
        <translation>Reset %1?</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>错误提示</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>OSD数据为空或者OSD数据有误,此次导入无效!</source>
        <translation>The OSD data is empty or invalid: nothing was imported.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>以下OSD不完全在输出画面(%1)内,设备只显示画面内的部分:
%2</source>
        <translation>These OSDs are not entirely inside the output screen (%1); the device shows only the part inside it:
%2</translation>
    </message>
    <message>
        <source>导出文件</source>
        <translation>Export File</translation>
    </message>
    <message>
        <source>PicFile (*.pic)</source>
        <translation>OSD picture file (*.pic)</translation>
    </message>
    <message>
        <source>LogoFile (*.logo)</source>
        <translation>OSD logo file (*.logo)</translation>
    </message>
    <message>
        <source>导入文件</source>
        <translation>Import Files</translation>
    </message>
    <message>
        <source>AllFile (*.pic *.logo)</source>
        <translation>All OSD files (*.pic *.logo)</translation>
    </message>
    <message>
        <source>导入失败,当前的OSD内容未作改动。
%1</source>
        <translation>Import failed; the current OSDs are unchanged.
%1</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Open Picture</translation>
    </message>
    <message>
        <source>Images (*.png *.bmp *.jpg *.jpeg)</source>
        <translation>Pictures (*.png *.bmp *.jpg *.jpeg)</translation>
    </message>
    <message>
        <source>无法读取图片文件:%1
%2</source>
        <translation>Cannot read the picture file: %1
%2</translation>
    </message>
    <message>
        <source>%1 已经复位成功。</source>
        <translation>%1 has been reset.</translation>
    </message>
    <message>
        <source>输出</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>设备输出画面的尺寸</source>
        <translation>Size of the device&apos;s output screen</translation>
    </message>
    <message>
        <source>自定义...</source>
        <translation>Custom...</translation>
    </message>
    <message>
        <source>是否要删除%1 ?</source>
        <translation>Delete %1?</translation>
    </message>
    <message>
        <source>是否要删除全部OSD ?</source>
        <translation>Delete all OSDs?</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>添加 %1</source>
        <translation>Add %1</translation>
    </message>
    <message>
        <source>删除 %1</source>
        <translation>Delete %1</translation>
    </message>
    <message>
        <source>删除全部OSD</source>
        <translation>Delete all OSDs</translation>
    </message>
    <message>
        <source>复位 %1</source>
        <translation>Reset %1</translation>
    </message>
    <message>
        <source>图片 %1</source>
        <translation>Picture %1</translation>
    </message>
    <message>
        <source>文字 %1</source>
        <translation>Text %1</translation>
    </message>
    <message>
        <source>清空 %1</source>
        <translation>Clear %1</translation>
    </message>
    <message>
        <source>截取 %1</source>
        <translation>Crop %1</translation>
    </message>
    <message>
        <source>截取显示 %1</source>
        <translation>Crop view %1</translation>
    </message>
    <message>
        <source>扣色 %1</source>
        <translation>Colour key %1</translation>
    </message>
    <message>
        <source>填充色 %1</source>
        <translation>Fill colour %1</translation>
    </message>
    <message>
        <source>移动 %1</source>
        <translation>Move %1</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>无法写入设置文件,本次运行中更改的设置不会被保存:
%1</source>
        <translation>The settings file cannot be written; settings changed in this session will not be saved:
%1</translation>
    </message>
    <message>
        <source>文件未导出。
%1</source>
        <translation>The file was not exported.
%1</translation>
    </message>
    <message numerus="yes">
        <source>已将 %n 个OSD导出到:
%1</source>
        <translation>
            <numerusform>%n OSD item exported to:
%1</numerusform>
            <numerusform>%n OSD items exported to:
%1</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 是导入的图片，没有原图，无法复位。</source>
        <translation>%1 was imported without its original picture and cannot be reset.</translation>
    </message>
    <message numerus="yes">
        <source>为节省内存，已丢弃最早的 %n 步。</source>
        <translation>
            <numerusform>The %n oldest step was dropped to save memory.</numerusform>
            <numerusform>The %n oldest steps were dropped to save memory.</numerusform>
        </translation>
    </message>
    <message>
        <source>工程</source>
        <comment>toolbar</comment>
        <translation>Project</translation>
    </message>
    <message>
        <source>一次只能打开一个工程,其余文件未打开:
%1</source>
        <translation>Only one project can be opened at a time; these files were not opened:
%1</translation>
    </message>
</context>
<context>
    <name>RecoveryKeeper</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>上次的工作没有正常结束(最后保存于 %1)。是否恢复?</source>
        <translation>Work from an earlier session did not end normally (last kept at %1). Restore it?</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>以后再说</source>
        <translation>Decide Later</translation>
    </message>
    <message>
        <source>丢弃</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>错误提示</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>无法恢复。
%1</source>
        <translation>The work could not be restored.
%1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>写入失败</source>
        <translation>write failed</translation>
    </message>
    <message>
        <source>没有文件名</source>
        <translation>no file name</translation>
    </message>
    <message>
        <source>是符号链接，不会写入或替换它</source>
        <translation>is a symbolic link; it is neither written through nor replaced</translation>
    </message>
    <message>
        <source>是文件夹</source>
        <translation>is a folder</translation>
    </message>
    <message>
        <source>不是普通文件（管道、设备或套接字），不会写入或替换它</source>
        <translation>is not a regular file (a pipe, a device or a socket); it is neither written to nor replaced</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>the file does not exist</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>not a regular file</translation>
    </message>
</context>
<context>
    <name>ScreenSizeDialog</name>
    <message>
        <source>输出画面尺寸</source>
        <translation>Output Screen Size</translation>
    </message>
    <message>
        <source>宽</source>
        <comment>width of the output screen, in pixels</comment>
        <translation>Width</translation>
    </message>
    <message>
        <source>高</source>
        <comment>height of the output screen, in pixels</comment>
        <translation>Height</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TableWidgetEx</name>
    <message>
        <source>添加%1</source>
        <translation>Add %1</translation>
    </message>
    <message>
        <source>全部清除</source>
        <translation>Remove All</translation>
    </message>
    <message>
        <source>全部标签页</source>
        <translation>All Tabs</translation>
    </message>
</context>
</TS>
