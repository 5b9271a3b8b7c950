<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<!-- The texts the sources write in English, in Chinese for the Chinese interface: every other text is
     written in Chinese. Kept by hand (update_translations does not touch it); tst_translations checks
     that every English text of brisklane_en.ts is here. -->
<context>
    <name>CloseButton</name>
    <message>
        <source>Close Tab</source>
        <translation>关闭标签页</translation>
    </message>
</context>
<context>
    <name>ExportTextImage</name>
    <message>
        <source>&amp;Format</source>
        <translation>格式(&amp;F)</translation>
    </message>
    <message>
        <source>C&amp;olor</source>
        <translation>颜色(&amp;O)</translation>
    </message>
</context>
<context>
    <name>ProjectController</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>RecoveryKeeper</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>Quillmere</name>
    <message>
        <source>OSD</source>
        <translation>OSD</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>PicFile (*.pic)</source>
        <translation>PIC文件 (*.pic)</translation>
    </message>
    <message>
        <source>LogoFile (*.logo)</source>
        <translation>LOGO文件 (*.logo)</translation>
    </message>
    <message>
        <source>AllFile (*.pic *.logo)</source>
        <translation>全部OSD文件 (*.pic *.logo)</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>Images (*.png *.bmp *.jpg *.jpeg)</source>
        <translation>图片 (*.png *.bmp *.jpg *.jpeg)</translation>
    </message>
</context>
</TS>
