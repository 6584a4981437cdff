<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>qrsmith</name>
    <message>
        <source>加密密码：</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>提示：如果不需要加密二维码，请保持上面的编辑框内容为空即可！
注意：加密后的二维码无法用普通扫码工具读出原文。</source>
        <translation>Hint: leave the box above empty if the QR Code need not be encrypted.
Note: ordinary scanning tools cannot read the text of an encrypted QR Code.</translation>
    </message>
    <message>
        <source>生成选项：</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>内容编码：</source>
        <translation>Encoding:</translation>
    </message>
    <message>
        <source>UTF-8（默认）</source>
        <translation>UTF-8 (default)</translation>
    </message>
    <message>
        <source>图像尺寸：</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>纠错级别：</source>
        <translation>Level:</translation>
    </message>
    <message>
        <source>低—7%（默认）</source>
        <translation>Low—7% (default)</translation>
    </message>
    <message>
        <source>中—15%</source>
        <translation>Medium—15%</translation>
    </message>
    <message>
        <source>高—25%</source>
        <translation>High—25%</translation>
    </message>
    <message>
        <source>非常高—30%</source>
        <translation>Highest—30%</translation>
    </message>
    <message>
        <source>二维码前景色：</source>
        <translation>Foreground:</translation>
    </message>
    <message>
        <source>二维码背景色：</source>
        <translation>Background:</translation>
    </message>
    <message>
        <source>请选择对比度较大的颜色，以便于拍摄设备识别！</source>
        <translation>Use colours of strong contrast, for cameras!</translation>
    </message>
    <message>
        <source>中间层叠图标：</source>
        <translation>Centre icon:</translation>
    </message>
    <message>
        <source>浏览...</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message>
        <source>BMP图像(*.bmp)|*.bmp|JPG图像（*.jpg）|*.jpg|GIF图像（*.gif）|*.gif|ICO图标（*.ico）|*.ico</source>
        <translation>BMP picture (*.bmp)|*.bmp|JPG picture (*.jpg)|*.jpg|GIF picture (*.gif)|*.gif|ICO icon (*.ico)|*.ico</translation>
    </message>
    <message>
        <source>%1

版本 %2

把文字变成二维码</source>
        <translation>%1

Version %2

Turns text into QR Codes</translation>
    </message>
    <message>
        <source>请通过下面的选项生成需要的二维码！</source>
        <translation>Make your QR Code below!</translation>
    </message>
    <message>
        <source>二维码内容</source>
        <translation>Content</translation>
    </message>
    <message>
        <source>加密</source>
        <translation>Encryption</translation>
    </message>
    <message>
        <source>基本</source>
        <translation>Basic</translation>
    </message>
    <message>
        <source>高级</source>
        <translation>Advanced</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>生成！</source>
        <translation>&amp;Generate!</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>C&amp;lear</translation>
    </message>
    <message>
        <source>保存到...</source>
        <translation>&amp;Save to...</translation>
    </message>
    <message>
        <source>复制到剪贴板</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Cl&amp;ose</translation>
    </message>
    <message>
        <source>自动（根据内容）</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>内容为空</source>
        <translation>No content</translation>
    </message>
    <message>
        <source>请输入需要编码的内容！</source>
        <translation>Please type the content to encode!</translation>
    </message>
    <message>
        <source>编码错误</source>
        <translation>Encoding error</translation>
    </message>
    <message>
        <source>密码中含有无法用系统编码表示的字符。</source>
        <translation>The password holds a character that the system code page cannot represent.</translation>
    </message>
    <message>
        <source>内容中含有无法用系统编码表示的字符，而加密只能使用系统编码：请删除该字符，或清空加密密码。</source>
        <translation>The content holds a character that the system code page cannot represent, and encryption works in the system code page only: remove the character, or clear the password.</translation>
    </message>
    <message>
        <source>内容中含有无法用所选编码表示的字符，请改用UTF-8编码或修改内容。</source>
        <translation>The content holds a character that the chosen encoding cannot represent; choose UTF-8 or change the content.</translation>
    </message>
    <message>
        <source>图标错误</source>
        <translation>Icon error</translation>
    </message>
    <message>
        <source>无法读取图标文件：</source>
        <translation>Cannot read the icon file: </translation>
    </message>
    <message>
        <source>请先生成二维码！</source>
        <translation>Please generate a QR Code first!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>复制失败</source>
        <translation>Copy failed</translation>
    </message>
    <message>
        <source>无法把二维码复制到剪贴板。</source>
        <translation>Cannot copy the QR Code to the clipboard.</translation>
    </message>
    <message>
        <source>确实要退出吗？</source>
        <translation>Do you really want to quit?</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>读取二维码</source>
        <translation>Read QR Code</translation>
    </message>
    <message>
        <source>无法读取图片文件：</source>
        <translation>Cannot read the picture file: </translation>
    </message>
    <message>
        <source>没有可以读取的图片。</source>
        <translation>There is no picture to read.</translation>
    </message>
    <message>
        <source>图片中没有找到二维码。</source>
        <translation>No QR Code was found in the picture.</translation>
    </message>
    <message>
        <source>二维码的内容既不是UTF-8文本，也不是GBK文本，无法放入内容框。</source>
        <translation>The QR Code&apos;s content is neither UTF-8 nor GBK text and cannot be put into the content box.</translation>
    </message>
    <message>
        <source>%1 已存在。
要替换它吗？</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
    <message>
        <source>确认保存</source>
        <translation>Confirm Save</translation>
    </message>
    <message>
        <source>保存失败</source>
        <translation>Save failed</translation>
    </message>
    <message>
        <source>无法保存文件：</source>
        <translation>Cannot save the file: </translation>
    </message>
    <message>
        <source>PNG图像</source>
        <translation>PNG image</translation>
    </message>
    <message>
        <source>JPEG图像</source>
        <translation>JPEG image</translation>
    </message>
    <message>
        <source>GIF图像</source>
        <translation>GIF image</translation>
    </message>
    <message>
        <source>TIFF图像</source>
        <translation>TIFF image</translation>
    </message>
    <message>
        <source>BMP图像</source>
        <translation>BMP image</translation>
    </message>
    <message>
        <source>SVG矢量图</source>
        <translation>SVG vector drawing</translation>
    </message>
    <message>
        <source>EPS矢量图</source>
        <translation>EPS vector drawing</translation>
    </message>
    <message>
        <source>PostScript文档</source>
        <translation>PostScript document</translation>
    </message>
    <message>
        <source>PDF文档</source>
        <translation>PDF document</translation>
    </message>
    <message>
        <source>EMF增强型图元文件</source>
        <translation>EMF enhanced metafile</translation>
    </message>
    <message>
        <source>WMF图元文件</source>
        <translation>WMF metafile</translation>
    </message>
    <message>
        <source>HTML网页片段</source>
        <translation>HTML fragment</translation>
    </message>
    <message>
        <source>文本字符画</source>
        <translation>Text art</translation>
    </message>
    <message>
        <source>请选择“%1”或“%2”，或换用较小的图标。</source>
        <translation>Choose “%1” or “%2”, or a smaller icon.</translation>
    </message>
    <message>
        <source>请选择“%1”，或换用较小的图标。</source>
        <translation>Choose “%1”, or a smaller icon.</translation>
    </message>
    <message>
        <source>请换用较小的图标。</source>
        <translation>Choose a smaller icon.</translation>
    </message>
    <message>
        <source>解码</source>
        <translation>decode</translation>
    </message>
    <message>
        <source>对比度</source>
        <translation>contrast</translation>
    </message>
    <message>
        <source>调制</source>
        <translation>modulation</translation>
    </message>
    <message>
        <source>固定图形</source>
        <translation>fixed patterns</translation>
    </message>
    <message>
        <source>轴向均匀性</source>
        <translation>axial nonuniformity</translation>
    </message>
    <message>
        <source>网格均匀性</source>
        <translation>grid nonuniformity</translation>
    </message>
    <message>
        <source>未用纠错</source>
        <translation>unused error correction</translation>
    </message>
    <message>
        <source>前景比背景浅，许多读码器读不出。请选择深色的前景和浅色的背景。</source>
        <translation>The foreground is lighter than the background, which many readers cannot read. Choose a dark foreground on a light background.</translation>
    </message>
    <message>
        <source>前景色与背景色相差太小。请选择深色的前景和浅色的背景。</source>
        <translation>The foreground and background colours differ too little. Choose a dark foreground on a light background.</translation>
    </message>
    <message>
        <source>中心图标遮住了太多模块。</source>
        <translation>The centre icon covers too many modules. </translation>
    </message>
    <message>
        <source>模块的像素大小不均匀。请选择每个模块整数个像素的尺寸。</source>
        <translation>The modules are drawn unevenly. Choose a size of a whole number of pixels a module.</translation>
    </message>
    <message>
        <source>空白边太窄：读码器需要四个模块宽的空白边。放到页面上时请在四周留出空白。</source>
        <translation>The quiet zone is narrow: readers need four modules of it. Leave space around the symbol where you place it.</translation>
    </message>
    <message>
        <source>读出的内容与输入的内容不同。</source>
        <translation>It reads back as other content than was typed.</translation>
    </message>
    <message>
        <source>请选择更高的纠错等级。</source>
        <translation>Choose a higher error correction level.</translation>
    </message>
    <message>
        <source>正在检查能否扫描……</source>
        <translation>Checking that it scans…</translation>
    </message>
    <message>
        <source>扫描等级 %1</source>
        <translation>Scan grade %1</translation>
    </message>
    <message>
        <source>：%1 %2。</source>
        <translation>: %1 %2. </translation>
    </message>
    <message>
        <source>|PNG图像（*.png）|*.png|所有图片|*.bmp *.dib *.jpg *.jpeg *.jpe *.gif *.ico *.png *.tif *.tiff|所有文件（*.*）|*</source>
        <translation>|PNG picture (*.png)|*.png|All pictures|*.bmp *.dib *.jpg *.jpeg *.jpe *.gif *.ico *.png *.tif *.tiff|All files (*.*)|*</translation>
    </message>
    <message>
        <source>无法生成</source>
        <translation>Cannot generate</translation>
    </message>
    <message>
        <source>无法用这些选项生成二维码。</source>
        <translation>No QR Code can be made with these options.</translation>
    </message>
    <message>
        <source>内容太长：纠错级别为%1时任何尺寸都放不下，多了%2字节。</source>
        <translation>Too long: no size holds the content at error correction %1; %2 bytes too many.</translation>
    </message>
    <message>
        <source>内容太长：尺寸%1、纠错级别%2放不下，多了%3字节。</source>
        <translation>Too long for size %1 at error correction %2: %3 bytes too many.</translation>
    </message>
    <message>
        <source>已保存：</source>
        <translation>Saved: </translation>
    </message>
    <message>
        <source>已复制到剪贴板。</source>
        <translation>Copied to the clipboard.</translation>
    </message>
    <message>
        <source>模块尺寸：</source>
        <translation>Module size:</translation>
    </message>
    <message>
        <source>分辨率：</source>
        <translation>Resolution:</translation>
    </message>
    <message>
        <source>静区：</source>
        <translation>Quiet zone:</translation>
    </message>
    <message>
        <source>在此分辨率下，每个模块不足一个像素：请加大模块尺寸或分辨率。</source>
        <translation>At this resolution a module is less than one pixel: choose a larger module size or resolution.</translation>
    </message>
    <message>
        <source>图片将超过 %1 像素宽：请减小模块尺寸或分辨率。</source>
        <translation>The picture would be more than %1 pixels wide: choose a smaller module size or resolution.</translation>
    </message>
</context>
</TS>
