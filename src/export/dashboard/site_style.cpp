// The site's style sheet: light and dark by the reader's preference, narrow screens first.
#include "export/dashboard/site_pages.h"

namespace qla {

std::string_view SiteStyleSheet() {
    return R"css(:root{--bg:#fff;--fg:#1d2230;--muted:#5d6475;--line:#d9dce3;--head:#f1f3f7;
--link:#1d5fc4;--s0:#2f7ed8;--s1:#d9534f;--s2:#8a6d00;--c0:#000;--c1:#c81e1e;--c2:#17821f;--c3:#9a7a00;
--c4:#1f3fd1;--c5:#087f86;--c6:#a0229f;--c7:#5b6170}
@media (prefers-color-scheme:dark){:root{--bg:#14171d;--fg:#e3e6ec;--muted:#9aa1b0;
--line:#343a46;--head:#1e232c;--link:#7fb0ff;--s0:#5aa2f0;--s1:#f07c78;--s2:#e8c547;--c0:#a4a9b4;
--c1:#ff6b6b;--c2:#5fd16a;--c3:#f2d45c;--c4:#8c9dff;--c5:#5fe0e6;--c6:#f07ef0;--c7:#f4f6fa}}
*{box-sizing:border-box}
html{-webkit-text-size-adjust:100%}
body{margin:0;background:var(--bg);color:var(--fg);
font:15px/1.45 system-ui,-apple-system,"Segoe UI",Roboto,"DejaVu Sans",sans-serif}
a{color:var(--link)}
header.top{background:var(--head);border-bottom:1px solid var(--line);padding:.5rem 1rem}
header.top .game{margin:0;font-weight:600;overflow-wrap:anywhere}
nav ul{list-style:none;margin:.3rem 0 0;padding:0;display:flex;flex-wrap:wrap;gap:.2rem 1rem}
nav a[aria-current]{font-weight:700;text-decoration:none;color:var(--fg)}
main{max-width:72rem;margin:0 auto;padding:.5rem 1rem 2rem}
h1{font-size:1.5rem;margin:.8rem 0;overflow-wrap:anywhere}
h2{font-size:1.15rem;margin:1.4rem 0 .5rem}
.source,.note,footer{color:var(--muted)}
footer{text-align:center;font-size:.85rem;padding:1rem}
dl.figures{display:grid;grid-template-columns:repeat(auto-fill,minmax(7.5rem,1fr));gap:.5rem;
margin:1rem 0}
dl.figures div,dl.rivals div{border:1px solid var(--line);border-radius:6px;padding:.4rem .6rem}
dt{color:var(--muted);font-size:.85rem}
dd{margin:0;font-size:1.25rem;font-weight:600;overflow-wrap:anywhere}
dl.rivals{display:grid;grid-template-columns:repeat(auto-fit,minmax(14rem,1fr));gap:.5rem}
dl.rivals dd{font-size:1rem}
.tops{display:grid;grid-template-columns:repeat(auto-fit,minmax(16rem,1fr));gap:0 1.5rem}
.tops ol{padding-left:1.6rem;margin:.3rem 0}
.count{color:var(--muted)}
.player{font-size:1.2rem;font-weight:600;overflow-wrap:anywhere}
.scroll{overflow-x:auto;max-width:100%}
table{border-collapse:collapse;width:100%}
th,td{border-bottom:1px solid var(--line);padding:.3rem .5rem;text-align:left;
vertical-align:top;overflow-wrap:anywhere}
th{background:var(--head);white-space:nowrap}
td:not(:first-child),th:not(:first-child){overflow-wrap:normal}
#chat td:last-child{overflow-wrap:anywhere;min-width:10rem}
th button{font:inherit;font-weight:700;color:inherit;background:none;border:0;padding:0;
cursor:pointer}
th[aria-sort=ascending] button::after{content:" \25B2"}
th[aria-sort=descending] button::after{content:" \25BC"}
tbody tr:nth-child(even){background:color-mix(in srgb,var(--head) 60%,transparent)}
.search input{font:inherit;padding:.3rem .5rem;width:min(22rem,100%);color:var(--fg);
background:var(--bg);border:1px solid var(--line);border-radius:4px}
.search label{display:flex;flex-wrap:wrap;gap:.3rem;align-items:center}
.pager p,.pages{margin:.5rem 0;display:flex;flex-wrap:wrap;gap:.4rem;align-items:center}
.pages button{font:inherit;padding:.2rem .7rem}
figure.chart{margin:1rem 0;max-width:46rem}
figure.chart svg{width:100%;height:auto;display:block}
figure.chart text{fill:var(--fg);font-size:11px}
figure.chart text.label{text-anchor:end}
figcaption{color:var(--muted);font-size:.85rem}
.s0{fill:var(--s0)}.s1{fill:var(--s1)}.s2{fill:var(--s2)}
polyline.line{fill:none;stroke:var(--s0);stroke-width:2}
polyline.l1{stroke:var(--s1)}polyline.l2{stroke:var(--s2)}
ol.lines code{white-space:pre-wrap;word-break:break-all}
.c0{color:var(--c0)}.c1{color:var(--c1)}.c2{color:var(--c2)}.c3{color:var(--c3)}
.c4{color:var(--c4)}.c5{color:var(--c5)}.c6{color:var(--c6)}.c7{color:var(--c7)}
)css";
}

} // namespace qla
