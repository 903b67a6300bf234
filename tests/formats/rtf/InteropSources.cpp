#include "InteropSources.h"

// Kept apart from the test class: moc cannot parse raw string literals.

const char ProseHtml[] = R"(<html><head><meta charset="utf-8"></head><body>
<h1>Business Plan</h1>
<p>Plain, <b>bold</b>, <i>italic</i>, <u>underline</u>, <s>strike</s>, <font color="#ff0000">red</font>,
<font face="Courier New">courier</font>, <span style="font-size:20pt">big</span>, <span style="background:#ffff00">marked</span>.</p>
<p align="center">Centred café “quotes” – dash € Привет Γειά 事業計画 한국어 עברית 😀</p>
<p align="right">Right<br>after a break</p>
<p>A <a href="http://example.com/">link</a> here. x<sup>2</sup> H<sub>2</sub>O&nbsp;end</p>
</body></html>)";

const char StructureHtml[] = R"(<html><head><meta charset="utf-8"></head><body>
<p>Before the lists</p>
<ul><li>First bullet</li><li>Second <b>bold</b> bullet</li></ul>
<ol><li>One</li><li>Two<ol><li>Two point one</li></ol></li></ol>
<table border="1"><tr><td>A1</td><td>B1</td><td>C1</td></tr><tr><td>A2</td><td></td><td>C2 with <i>words</i></td></tr></table>
<p>Between</p>
<table border="1"><tr><td>Outer<table border="1"><tr><td>in1</td><td>in2</td></tr></table></td><td>X</td></tr></table>
<p>After the tables</p>
</body></html>)";

const char PlanMarkdown[] = R"(# Business Plan

Plain, **bold**, *italic*, ~~strike~~, `code`, H~2~O, x^2^ and a [link](http://example.com/).

Café “quotes” – dash € Привет Γειά 事業計画 😀 \{braces\} back\\slash

- First bullet
- Second **bold** bullet

1. One
2. Two

| Name | Value |
|------|-------|
| A    | 1     |
| B    |       |

> A quotation.

A footnote here[^1].

[^1]: The note.
)";
