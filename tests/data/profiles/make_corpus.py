#!/usr/bin/env python3
# Writes the profile corpus: each NAME.ini (exact bytes) with its query list NAME.queries
# (section TAB key TAB buffer size [TAB default]; \xHH and \t escapes). NAME.wine files hold the
# answers recorded under Wine by tests/e2e/profile_diff.sh --record.
import os
D=os.path.dirname(os.path.abspath(__file__))+'/'
def w(name, data, queries):
    open(D+name+'.ini','wb').write(data if isinstance(data,bytes) else data.encode('latin-1'))
    open(D+name+'.queries','w',newline='\n').write(queries)

# 1 typical content file with item keys, case-insensitive names, defaults
w('content', "[Common]\r\ntitle=TOVA Driver CD\r\ntotal=7\r\n0_x=12\r\n0_y=-3\r\n0_Nbmp=bmp\\tab0.bmp\r\n0_Nbmp_m=bmp\\tab0m.bmp\r\n3_x=  42px\r\n[Panel0]\r\nBK=bk.bmp\r\nline1=Drivers for your board\r\ntotal=3\r\n0_Obmp=on.bmp\r\n[Panel1]\r\ntotal=2\r\n9_exe=util\\setup.exe\r\n9_exe_2k=\r\n",
"""# exact names
Common\ttitle\t255
Common\ttotal\t255
Common\t0_x\t255
Common\t0_y\t255
Common\t0_Nbmp\t255
Common\t0_Nbmp_m\t255
Common\t3_x\t255
# other case
COMMON\tTITLE\t255
common\t0_nbmp_M\t255
pAnEl0\tbk\t512
# missing section, missing key, present but empty
Panel9\ttitle\t255
Common\t1_x\t255
Panel1\t9_exe_2k\t512
Panel1\t9_exe\t512
# defaults: missing, present-empty, trailing and leading blanks of the default
Common\t1_x\t255\tfallback
Panel1\t9_exe_2k\t512\tfallback
Common\t1_x\t255\t  two blanks around  
Common\t1_x\t255\tfallback\\t
Common\t1_x\t4\tfallback
Common\t1_x\t255\t
""")

# 2 blanks around names and values
w('blanks', "  [ Panel0 ]  \n\tline1 \t=\t  two words   \t \nkey with blanks = v\n 3_x=5\n3_y =6\n3_w= 7\nvt=\x0bv\x0b\nff=\x0cv\x0c\nsub=\x1av\x1a\nnbsp=\xa0v\xa0\nnext=\x85v\x85\n[Panel1]\nline1=\n  \nline2=   \n[Panel2 ] \nx=1\n[\tPanel3]\nx=3\n",
"""Panel0\tline1\t512
 Panel0 \tline1\t512
Panel0\t line1 \t512
Panel0\tkey with blanks\t512
Panel0\tkey  with blanks\t512
Panel0\t3_x\t255
Panel0\t3_y\t255
Panel0\t3_w\t255
Panel0\tvt\t255
Panel0\tff\t255
Panel0\tsub\t255
Panel0\tnbsp\t255
Panel0\tnext\t255
Panel1\tline1\t512\tdef
Panel1\tline2\t512\tdef
Panel2\tx\t255
Panel3\tx\t255
\\tPanel3\tx\t255
Panel0\t\\tline1\t255
""")

# 3 quoted values
w('quotes', "[Q]\nd=\"double\"\ns='single'\nmixed=\"mixed'\nmixed2='mixed2\"\nopen=\"open\nclose=close\"\none=\"\nonesingle='\nempty=\"\"\nemptys=''\ninner=\" padded \"\nspaced=  \"abc\"  \ntwice=\"\"x\"\"\nmid=a\"b\"c\nthree=\"a\"b\"\nlong=\"abcdefgh\"\n\"qkey\"=qk\n'sq'=sk\n",
"""Q\td\t255
Q\ts\t255
Q\tmixed\t255
Q\tmixed2\t255
Q\topen\t255
Q\tclose\t255
Q\tone\t255
Q\tonesingle\t255
Q\tempty\t255\tdef
Q\temptys\t255\tdef
Q\tinner\t255
Q\tspaced\t255
Q\ttwice\t255
Q\tmid\t255
Q\tthree\t255
Q\tlong\t255
Q\tlong\t10
Q\tlong\t9
Q\tlong\t8
Q\tlong\t5
Q\tlong\t2
Q\tlong\t1
Q\t"qkey"\t255
Q\tqkey\t255
Q\t'sq'\t255
Q\tsq\t255
Q\tx\t255\t"quoted default"
""")

# 4 comments and malformed lines
w('comments', "; leading comment\n[C]\n;a=commented\n ;b=indented comment\n#h=hash\nc=value ; not a comment\nnoequals\n=novalue\nd==double\ne=x=y\n;[D]\nf=after\n[D]\ng=in d\n// slash=1\nrem x=1\n",
"""C\ta\t255
C\t;a\t255
C\tb\t255
C\t;b\t255
C\t#h\t255
C\tc\t255
C\tnoequals\t255\tdef
C\t\t255\tdef
C\td\t255
C\te\t255
C\tf\t255
D\tg\t255
D\tf\t255
D\t// slash\t255
D\trem x\t255
""")

# 5 keys before any section
w('nosection', "early=1\nalso = two\n[S]\nlate=3\n",
"""\tearly\t255\tdef
 \tearly\t255\tdef
S\tearly\t255\tdef
S\tlate\t255
\tlate\t255\tdef
\tlate\t255\tdef
""")

# 6 broken section headers
w('headers', "[Open\na=1\n[Shut] trailing text\nb=2\n[]\nc=3\n[Nest]ed]\nd=4\n[x]y=5\ne=5\n  [ Spaced Name ]\nf=6\n[Back\\Slash]\ng=7\n[Tail] ; note\nh=8\n",
"""Open\ta\t255\tdef
[Open\ta\t255\tdef
\ta\t255\tdef
Shut\tb\t255\tdef
\tc\t255\tdef
Nest]ed\td\t255\tdef
Nest\td\t255\tdef
x\te\t255\tdef
x\ty\t255\tdef
Spaced Name\tf\t255\tdef
Spaced  Name\tf\t255\tdef
Back\\\\Slash\tg\t255\tdef
Tail\th\t255\tdef
""")

# 7 duplicate sections and keys
w('duplicates', "[A]\nk=first\nk=second\nonlyfirst=1\n[B]\nk=b\n[A]\nk=third\nonlysecond=2\n[a]\nlower=3\n",
"""A\tk\t255
A\tonlyfirst\t255
A\tonlysecond\t255\tdef
A\tlower\t255\tdef
a\tk\t255
B\tk\t255
""")

# 8-10 line ends
w('crlf', "[E]\r\na=1\r\nb=two words\r\n\r\n[F]\r\nc=3\r\n", "E\ta\t255\nE\tb\t255\nF\tc\t255\nE\tc\t255\tdef\n")
w('cronly', "[E]\ra=1\rb=two words\r\r[F]\rc=3\r", "E\ta\t255\nE\tb\t255\nF\tc\t255\nE\tc\t255\tdef\n")
w('mixed', "[E]\r\r\na=1\n\rb=2\r\n\nc=3\r\n\r\rd=4\n[F]\re=5", "E\ta\t255\nE\tb\t255\nE\tc\t255\nE\td\t255\nF\te\t255\nE\te\t255\tdef\n")

# 11 buffer cuts
w('cut', "[T]\nten=0123456789\nshort=ab\nempty=\n",
"""T\tten\t0
T\tten\t1
T\tten\t2
T\tten\t10
T\tten\t11
T\tten\t12
T\tshort\t2
T\tshort\t3
T\tempty\t1
T\tempty\t0
T\tmissing\t0\tdefault
T\tmissing\t1\tdefault
T\tmissing\t3\tdefault
T\tmissing\t8\tdefault
""")

# 12 empty file and missing file
w('empty', "", "S\tk\t255\tdef\nS\tk\t255\n\tk\t255\tdef\n")

# 13 case folding
w("case", "[Sect\xc9]\nKEY\xc9=upper\nMiXeD=m\n[sect]\nk=1\n[\x8a]\nk=1\n[S]\n\xc0=2\n",
"""sect\xe9\tkey\xe9\t255\tdef
Sect\xc9\tKEY\xc9\t255\tdef
SECT\xc9\tkey\xc9\t255\tdef
sect\xc9\tMIXED\t255\tdef
SECT\tK\t255\tdef
\\x9A\tk\t255\tdef
S\t\\xE0\t255\tdef
S\t\\xC0\t255\tdef
""".replace('\xe9','\\xE9').replace('\xc9','\\xC9'))

# 14 odd bytes: high bytes, a zero byte in the middle of a value and of a section name
w('bytes', "[B]\nhigh=\xe4\xf6\xfc \x80\x9f\xff\nzero=ab\x00cd\nafter=ok\n[C\x00X]\nk=1\n",
"""B\thigh\t255
B\tzero\t255
B\tafter\t255\tdef
C\tk\t255\tdef
""")
# 15 long values and lines
w('long', "[L]\nv512=" + "x"*600 + "\nnext=after long\nk" + "y"*300 + "=longkey\n",
"""L\tv512\t512
L\tv512\t255
L\tnext\t255
L\tk""" + "y"*300 + """\t255
""")

# 16 which bytes count as blanks around names and values
bs=[0x01,0x08,0x09,0x0b,0x0c,0x0e,0x1a,0x1b,0x1c,0x1f,0x7f,0x81,0x85,0xa0,0xff]
data="[W]\n"; q=""
for b in bs:
    data+="t%02X=%sv%s\n"%(b,chr(b),chr(b)); q+="W\tt%02X\t255\n"%b
    data+="%sn%02X%s=ok\n"%(chr(b),b,chr(b)); q+="W\tn%02X\t255\tdef\n"%b
    q+="W\t\\x%02Xn%02X\t255\tdef\n"%(b,b)
w('blank_bytes',data,q)

# 17-18 the nameless section at the top of the file
w('implicit',"[]\nk=1\n[S]\n[Open\nx=2\n[Shut=5\ny=3\n",
"\tk\t255\tdef\n\t[Open\t255\tdef\nS\tx\t255\tdef\nS\t[Open\t255\tdef\nS\t[Shut\t255\tdef\nS\ty\t255\tdef\n")
w('implicit_open',"[Open\nx=2\n[S]\ny=3\n","\t[Open\t255\tdef\n\tx\t255\tdef\n[Open\tx\t255\tdef\nS\ty\t255\n")

# 19 keys without a value, and quotes against small buffers
w('keyforms',"[K]\nk\nk=v\nm=1\nm\n a\0b=1\nq=\"a\"\nr=\"ab\"\ne=\"\"\n",
"""K\tk\t255\tdef
K\tm\t255\tdef
K\ta\t255\tdef
K\tq\t2
K\tq\t3
K\tr\t3
K\tr\t4
K\te\t1
K\te\t2
K\tnone\t4\t"ab"
K\tnone\t3\t"ab"
K\tnone\t255\t   
K\tnone\t255\t \\t 
K\tnone\t255\t\\t  
K\tnone\t255\t  "q"  
""")

# 20 zero bytes inside lines
w('zeros',b"[N]\na=1\x00\nb=2\n\x00[M]\nc=3\n[P]\nk\x00x=4\nv=  \x00  z\nw=ab \x00 \n",
"N\ta\t255\nN\tb\t255\nM\tc\t255\tdef\nN\tc\t255\tdef\n\tc\t255\tdef\nP\tk\t255\tdef\nP\tv\t255\tdef\nP\tw\t255\tdef\n")

# 21-24 files with a Unicode mark
w('utf8_mark',b"\xef\xbb\xbf[S]\na=\xe4\xb8|\nb=\xf0\x9f\x98\x80|\nc=\xc0\x80|\nd=\xed\xa0\x80|\ne=\x80\x80|\nf=\xe2\x80\xa6\xc2\xa0\xc2\x81\xc2\x80\xc2\x9f|\ng=\xf4\x90\x80\x80|\nh=\xe0\x80\xaf|\ni=\xc3\xbf\xc5\xa0\xcb\x9c\xe2\x82\xac|\nj=\xf0\x9f|\nl=\xe4\xb8\xad|\xc3\xa4|\xff\xfe|\xc3|\xc3\xa4\xa4|end\nk=\xc3\n",
"".join("S\t%s\t255\tdef\n"%c for c in "abcdefghijlk"))
w('utf8_late',b"[Common]\n\xef\xbb\xbftitle=x\n\xef\xbb\xbf[S]\nk=1\n",
"Common\ttitle\t255\tdef\nCommon\t\\xEF\\xBB\\xBFtitle\t255\tdef\nS\tk\t255\tdef\n")
w('utf16le',"\ufeff[Common]\r\ntitle=wide \u00e4 \u4e2d\r\nemoji=\U0001F600|\u20ac\u0081\u0080\u00ff|\r\nzero=x\x00y\r\nodd=xy".encode('utf-16-le')+b"z",
"Common\ttitle\t255\tdef\nCommon\temoji\t255\tdef\nCommon\tzero\t255\tdef\n")
# (The last odd byte stays in the file, but "odd" is not asked: Wine's answer for it depends on
# the byte after the file's end, and changes from one run to the next. The native reader's own
# answer is a unit test.)
w('utf16be',"\ufeff[Common]\r\ntitle=wide \u00e4 \u4e2d\r\n".encode('utf-16-be'),"Common\ttitle\t255\tdef\n")

# 26 a profile that does not exist: only a query list
open(D+'missing.queries','w',newline='\n').write("S\tk\t255\tdef\nS\tk\t255\n")
