// Reads a .ppt file with Apache POI HSLF and prints what POI sees as one JSON document.
//
//   java -cp <poi jars>:<dir of PoiCheck.class> PoiCheck FILE.ppt [FILE2.ppt ...]
//
// With one file the output is one JSON object. With several, one JSON object per line, in the
// order given, each with a "file" member. If POI throws while reading a file, that file's object is
// {"file": ..., "error": "...", "trace": [...]} and the exit status is 1.
//
// Lengths are in points (POI converts master units, 576 per inch, to 72 per inch); colours are
// "#rrggbb" strings; enums are printed by name. The JSON is built by hand (Map / List / String /
// Number / Boolean / null) so the program needs nothing beyond the POI jars.

import java.awt.Color;
import java.awt.Dimension;
import java.awt.geom.PathIterator;
import java.awt.geom.Rectangle2D;
import java.io.FileInputStream;
import java.io.InputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.security.MessageDigest;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

import org.apache.poi.ddf.AbstractEscherOptRecord;
import org.apache.poi.ddf.EscherProperty;
import org.apache.poi.ddf.EscherSimpleProperty;
import org.apache.poi.ddf.EscherTextboxRecord;
import org.apache.poi.hpsf.DocumentSummaryInformation;
import org.apache.poi.hpsf.SummaryInformation;
import org.apache.poi.hslf.record.CurrentUserAtom;
import org.apache.poi.hslf.usermodel.HSLFAutoShape;
import org.apache.poi.hslf.usermodel.HSLFConnectorShape;
import org.apache.poi.hslf.usermodel.HSLFFill;
import org.apache.poi.hslf.usermodel.HSLFFreeformShape;
import org.apache.poi.hslf.usermodel.HSLFGroupShape;
import org.apache.poi.hslf.usermodel.HSLFLine;
import org.apache.poi.hslf.usermodel.HSLFNotes;
import org.apache.poi.hslf.usermodel.HSLFObjectShape;
import org.apache.poi.hslf.usermodel.HSLFPictureData;
import org.apache.poi.hslf.usermodel.HSLFPictureShape;
import org.apache.poi.hslf.usermodel.HSLFShape;
import org.apache.poi.hslf.usermodel.HSLFSimpleShape;
import org.apache.poi.hslf.usermodel.HSLFSlide;
import org.apache.poi.hslf.usermodel.HSLFSlideShow;
import org.apache.poi.hslf.usermodel.HSLFSlideShowImpl;
import org.apache.poi.hslf.usermodel.HSLFTable;
import org.apache.poi.hslf.usermodel.HSLFTableCell;
import org.apache.poi.hslf.usermodel.HSLFTextBox;
import org.apache.poi.hslf.usermodel.HSLFTextParagraph;
import org.apache.poi.hslf.usermodel.HSLFTextRun;
import org.apache.poi.hslf.usermodel.HSLFTextShape;
import org.apache.poi.sl.usermodel.PaintStyle;
import org.apache.poi.sl.usermodel.ShapeType;

public final class PoiCheck {
    private PoiCheck() {}

    // Escher property ids read directly (MS-ODRAW 2.3): the geometry box of a freeform and the
    // boolean property sets of fill and line, printed raw so a test can see exactly which bits
    // were written.
    private static final int GEO_LEFT = 0x140, GEO_TOP = 0x141;
    private static final int GEO_RIGHT = 0x142, GEO_BOTTOM = 0x143;
    private static final int FILL_BOOLEANS = 0x1BF, LINE_BOOLEANS = 0x1FF;

    public static void main(String[] args) {
        System.setProperty("java.awt.headless", "true");
        PrintStream out = new PrintStream(System.out, true, StandardCharsets.UTF_8);
        if (args.length == 0) {
            Map<String, Object> err = new LinkedHashMap<>();
            err.put("error", "usage: PoiCheck FILE.ppt [FILE.ppt ...]");
            out.println(toJson(err));
            System.exit(2);
        }
        boolean failed = false;
        for (String path : args) {
            Map<String, Object> doc;
            try {
                doc = dump(path);
            } catch (Throwable t) {
                doc = new LinkedHashMap<>();
                doc.put("error", t.getClass().getName() + ": " + t.getMessage());
                List<Object> trace = new ArrayList<>();
                StackTraceElement[] st = t.getStackTrace();
                for (int i = 0; i < st.length && i < 12; i++) trace.add(st[i].toString());
                doc.put("trace", trace);
                failed = true;
            }
            if (args.length > 1) {
                Map<String, Object> withFile = new LinkedHashMap<>();
                withFile.put("file", path);
                withFile.putAll(doc);
                doc = withFile;
            }
            out.println(toJson(doc));
        }
        out.flush();
        System.exit(failed ? 1 : 0);
    }

    static Map<String, Object> dump(String path) throws Exception {
        Map<String, Object> doc = new LinkedHashMap<>();
        try (InputStream in = new FileInputStream(path);
             HSLFSlideShow show = new HSLFSlideShow(in)) {
            HSLFSlideShowImpl impl = show.getSlideShowImpl();
            doc.put("poi_version", HSLFSlideShow.class.getPackage().getImplementationVersion());
            Dimension page = show.getPageSize();
            Map<String, Object> pageSize = new LinkedHashMap<>();
            pageSize.put("w", page.getWidth());
            pageSize.put("h", page.getHeight());
            doc.put("page_size", pageSize);
            doc.put("slide_count", show.getSlides().size());
            doc.put("properties", properties(impl));
            doc.put("current_user", currentUser(impl.getCurrentUserAtom()));

            List<Object> fonts = new ArrayList<>();
            for (int i = 0; i < show.getNumberOfFonts(); i++) {
                fonts.add(show.getFont(i) == null ? null : show.getFont(i).getTypeface());
            }
            doc.put("fonts", fonts);

            List<Object> pictures = new ArrayList<>();
            for (HSLFPictureData pd : show.getPictureData()) pictures.add(picture(pd));
            doc.put("pictures", pictures);

            List<Object> slides = new ArrayList<>();
            for (HSLFSlide slide : show.getSlides()) slides.add(slide(slide));
            doc.put("slides", slides);
        }
        return doc;
    }

    static Map<String, Object> properties(HSLFSlideShowImpl impl) {
        Map<String, Object> p = new LinkedHashMap<>();
        SummaryInformation si = impl.getSummaryInformation();
        DocumentSummaryInformation dsi = impl.getDocumentSummaryInformation();
        p.put("has_summary", si != null);
        p.put("has_doc_summary", dsi != null);
        p.put("title", si == null ? null : si.getTitle());
        p.put("subject", si == null ? null : si.getSubject());
        p.put("author", si == null ? null : si.getAuthor());
        p.put("keywords", si == null ? null : si.getKeywords());
        p.put("comments", si == null ? null : si.getComments());
        p.put("last_author", si == null ? null : si.getLastAuthor());
        p.put("application", si == null ? null : si.getApplicationName());
        p.put("company", dsi == null ? null : dsi.getCompany());
        p.put("category", dsi == null ? null : dsi.getCategory());
        p.put("manager", dsi == null ? null : dsi.getManager());
        return p;
    }

    static Map<String, Object> currentUser(CurrentUserAtom cu) {
        if (cu == null) return null;
        Map<String, Object> m = new LinkedHashMap<>();
        m.put("user", cu.getLastEditUsername());
        m.put("current_edit_offset", cu.getCurrentEditOffset());
        m.put("release_version", cu.getReleaseVersion());
        m.put("doc_final_version", cu.getDocFinalVersion());
        m.put("major", (int) cu.getDocMajorNo());
        m.put("minor", (int) cu.getDocMinorNo());
        m.put("encrypted", cu.isEncrypted());
        return m;
    }

    static Map<String, Object> slide(HSLFSlide slide) {
        Map<String, Object> s = new LinkedHashMap<>();
        s.put("number", slide.getSlideNumber());
        s.put("title", slide.getTitle());
        s.put("hidden", slide.isHidden());
        List<Object> shapes = new ArrayList<>();
        for (HSLFShape sh : slide.getShapes()) shapes.add(shape(sh));
        s.put("shapes", shapes);
        HSLFNotes notes = slide.getNotes();
        List<Object> notesText = null;
        if (notes != null) {
            notesText = new ArrayList<>();
            for (List<HSLFTextParagraph> paras : notes.getTextParagraphs()) {
                notesText.add(HSLFTextParagraph.getRawText(paras));
            }
        }
        s.put("notes", notesText);
        return s;
    }

    static String kind(HSLFShape sh) {
        if (sh instanceof HSLFTable) return "table";
        if (sh instanceof HSLFGroupShape) return "group";
        if (sh instanceof HSLFObjectShape) return "object";
        if (sh instanceof HSLFPictureShape) return "picture";
        if (sh instanceof HSLFConnectorShape) return "connector";
        if (sh instanceof HSLFLine) return "line";
        if (sh instanceof HSLFFreeformShape) return "freeform";
        if (sh instanceof HSLFTableCell) return "cell";
        if (sh instanceof HSLFTextBox) return "textbox";
        if (sh instanceof HSLFAutoShape) return "autoshape";
        if (sh instanceof HSLFSimpleShape) return "simple";
        return "shape";
    }

    static Map<String, Object> shape(HSLFShape sh) {
        Map<String, Object> m = new LinkedHashMap<>();
        m.put("kind", kind(sh));
        m.put("class", sh.getClass().getSimpleName());
        ShapeType st = sh.getShapeType();
        m.put("shape_type", st == null ? null : st.name());
        m.put("shape_type_id", st == null ? null : st.nativeId);
        m.put("shape_id", sh.getShapeId());
        m.put("name", sh.getShapeName());
        m.put("anchor", rect(sh.getAnchor()));
        m.put("rotation", sh.getRotation());
        m.put("flip_h", sh.getFlipHorizontal());
        m.put("flip_v", sh.getFlipVertical());

        if (sh instanceof HSLFSimpleShape) {
            HSLFSimpleShape ss = (HSLFSimpleShape) sh;
            m.put("placeholder", ss.getPlaceholder() == null ? null : ss.getPlaceholder().name());
            Map<String, Object> line = new LinkedHashMap<>();
            Color lc = ss.getLineColor();
            line.put("color", color(lc));
            line.put("width", ss.getLineWidth());
            line.put("dash", ss.getLineDash() == null ? null : ss.getLineDash().name());
            line.put("booleans", rawProperty(sh, LINE_BOOLEANS));
            m.put("line", line);

            Map<String, Object> fill = new LinkedHashMap<>();
            Color fc = ss.getFillColor();
            HSLFFill f = ss.getFill();
            fill.put("filled", fc != null);
            fill.put("color", color(fc));
            fill.put("type", f == null ? null : f.getFillType());
            fill.put("booleans", rawProperty(sh, FILL_BOOLEANS));
            m.put("fill", fill);
        }

        if (sh instanceof HSLFFreeformShape) {
            Map<String, Object> geo = new LinkedHashMap<>();
            geo.put("left", rawProperty(sh, GEO_LEFT));
            geo.put("top", rawProperty(sh, GEO_TOP));
            geo.put("right", rawProperty(sh, GEO_RIGHT));
            geo.put("bottom", rawProperty(sh, GEO_BOTTOM));
            m.put("geo", geo);
            m.put("path", path(((HSLFFreeformShape) sh).getPath()));
        }

        if (sh instanceof HSLFPictureShape) {
            HSLFPictureShape ps = (HSLFPictureShape) sh;
            m.put("picture_index", ps.getPictureIndex());
            m.put("picture_name", ps.getPictureName());
            HSLFPictureData pd = ps.getPictureData();
            m.put("picture", pd == null ? null : picture(pd));
        }

        if (sh instanceof HSLFTextShape) {
            // POI makes up one empty paragraph for a shape without an OfficeArtClientTextbox,
            // so say whether the file has one (looked up before POI builds its paragraphs).
            m.put("has_text_box", sh.getEscherChild(EscherTextboxRecord.RECORD_ID) != null);
            m.put("paragraphs", paragraphs(((HSLFTextShape) sh).getTextParagraphs()));
        }

        if (sh instanceof HSLFTable) {
            m.put("table", table((HSLFTable) sh));
        } else if (sh instanceof HSLFGroupShape) {
            HSLFGroupShape g = (HSLFGroupShape) sh;
            m.put("interior_anchor", rect(g.getInteriorAnchor()));
            List<Object> children = new ArrayList<>();
            for (HSLFShape c : g.getShapes()) children.add(shape(c));
            m.put("children", children);
        }
        return m;
    }

    static Map<String, Object> table(HSLFTable t) {
        Map<String, Object> m = new LinkedHashMap<>();
        int rows = t.getNumberOfRows(), cols = t.getNumberOfColumns();
        m.put("rows", rows);
        m.put("cols", cols);
        List<Object> heights = new ArrayList<>();
        // POI 4.0.1 measures a row or column through its first cell and throws when that cell is
        // covered by a merge (null in POI's grid); report null for those.
        for (int r = 0; r < rows; r++) {
            final int row = r;
            heights.add(orNull(() -> t.getRowHeight(row)));
        }
        m.put("row_heights", heights);
        List<Object> widths = new ArrayList<>();
        for (int c = 0; c < cols; c++) {
            final int col = c;
            widths.add(orNull(() -> t.getColumnWidth(col)));
        }
        m.put("col_widths", widths);
        List<Object> grid = new ArrayList<>();
        for (int r = 0; r < rows; r++) {
            List<Object> row = new ArrayList<>();
            for (int c = 0; c < cols; c++) {
                HSLFTableCell cell = t.getCell(r, c);
                if (cell == null) {
                    row.add(null);
                    continue;
                }
                Map<String, Object> cm = new LinkedHashMap<>();
                cm.put("text", HSLFTextParagraph.getRawText(cell.getTextParagraphs()));
                cm.put("grid_span", cell.getGridSpan());
                cm.put("row_span", cell.getRowSpan());
                cm.put("merged", cell.isMerged());
                cm.put("anchor", rect(cell.getAnchor()));
                Color fc = cell.getFillColor();
                cm.put("fill", color(fc));
                cm.put("paragraphs", paragraphs(cell.getTextParagraphs()));
                row.add(cm);
            }
            grid.add(row);
        }
        m.put("cells", grid);
        return m;
    }

    static Object orNull(java.util.function.Supplier<Object> f) {
        try {
            return f.get();
        } catch (RuntimeException e) {
            return null;
        }
    }

    static List<Object> paragraphs(List<HSLFTextParagraph> paras) {
        List<Object> out = new ArrayList<>();
        if (paras == null) return out;
        for (HSLFTextParagraph p : paras) {
            Map<String, Object> pm = new LinkedHashMap<>();
            StringBuilder text = new StringBuilder();
            List<Object> runs = new ArrayList<>();
            for (HSLFTextRun r : p.getTextRuns()) {
                String raw = r.getRawText();
                text.append(raw);
                Map<String, Object> rm = new LinkedHashMap<>();
                rm.put("text", raw);
                rm.put("bold", r.isBold());
                rm.put("italic", r.isItalic());
                rm.put("underline", r.isUnderlined());
                rm.put("strike", r.isStrikethrough());
                rm.put("size", r.getFontSize());
                rm.put("color", paint(r.getFontColor()));
                rm.put("font", r.getFontFamily());
                rm.put("superscript", r.getSuperscript());
                rm.put("is_super", r.isSuperscript());
                rm.put("is_sub", r.isSubscript());
                runs.add(rm);
            }
            // POI keeps the paragraph mark (\r) at the end of the last run of every paragraph but
            // the shape's last; the paragraph text leaves it out, the runs keep it.
            String ptext = text.toString();
            if (ptext.endsWith("\r")) ptext = ptext.substring(0, ptext.length() - 1);
            pm.put("text", ptext);
            pm.put("align", p.getTextAlign() == null ? null : p.getTextAlign().name());
            pm.put("indent_level", p.getIndentLevel());
            pm.put("left_margin", p.getLeftMargin());
            pm.put("indent", p.getIndent());
            pm.put("bullet", p.isBullet());
            Character bc = p.getBulletChar();
            pm.put("bullet_char", bc == null ? null : String.valueOf(bc.charValue()));
            pm.put("bullet_font", p.getBulletFont());
            pm.put("autonumber", p.getAutoNumberingScheme() == null
                    ? null : p.getAutoNumberingScheme().name());
            // POI 4.0.1 looks the start number up by indent level among the StyleTextProp9
            // entries and throws when that entry has no scheme: report null then.
            pm.put("autonumber_start", orNull(() -> p.getAutoNumberingStartAt()));
            pm.put("runs", runs);
            out.add(pm);
        }
        return out;
    }

    static final int MAX_DATA_BYTES = 65536;

    static Map<String, Object> picture(HSLFPictureData pd) {
        Map<String, Object> m = new LinkedHashMap<>();
        // Where the blip sits in the "Pictures" stream. (POI's getIndex() is only set for
        // pictures added through POI, so it is not printed; shapes carry the 1-based BStore
        // index as "picture_index".)
        m.put("offset", pd.getOffset());
        m.put("type", pd.getType() == null ? null : pd.getType().name());
        byte[] data = pd.getData();
        m.put("length", data == null ? null : data.length);
        m.put("sha256", data == null ? null : sha256(data));
        // The bytes themselves for small pictures, so that tests can decode them.
        m.put("data_base64", data == null || data.length > MAX_DATA_BYTES
                ? null : java.util.Base64.getEncoder().encodeToString(data));
        m.put("uid", hex(pd.getUID()));
        Dimension px = null;
        try {
            px = pd.getImageDimensionInPixels();
        } catch (RuntimeException e) {
            px = null; // bitmap headers POI cannot measure; the bytes are still compared
        }
        m.put("width_px", px == null ? null : px.width);
        m.put("height_px", px == null ? null : px.height);
        return m;
    }

    static List<Object> path(java.awt.geom.Path2D path) {
        List<Object> out = new ArrayList<>();
        if (path == null) return out;
        double[] c = new double[6];
        for (PathIterator it = path.getPathIterator(null); !it.isDone(); it.next()) {
            int seg = it.currentSegment(c);
            List<Object> s = new ArrayList<>();
            int n;
            switch (seg) {
                case PathIterator.SEG_MOVETO: s.add("M"); n = 2; break;
                case PathIterator.SEG_LINETO: s.add("L"); n = 2; break;
                case PathIterator.SEG_QUADTO: s.add("Q"); n = 4; break;
                case PathIterator.SEG_CUBICTO: s.add("C"); n = 6; break;
                default: s.add("Z"); n = 0; break;
            }
            for (int i = 0; i < n; i++) s.add(c[i]);
            out.add(s);
        }
        return out;
    }

    static Object rawProperty(HSLFShape sh, int id) {
        AbstractEscherOptRecord opt = sh.getEscherOptRecord();
        if (opt == null) return null;
        EscherProperty p = opt.lookup(id);
        if (p instanceof EscherSimpleProperty) return ((EscherSimpleProperty) p).getPropertyValue();
        return null;
    }

    static Map<String, Object> rect(Rectangle2D r) {
        if (r == null) return null;
        Map<String, Object> m = new LinkedHashMap<>();
        m.put("x", r.getX());
        m.put("y", r.getY());
        m.put("w", r.getWidth());
        m.put("h", r.getHeight());
        return m;
    }

    static String paint(PaintStyle ps) {
        if (ps instanceof PaintStyle.SolidPaint) {
            PaintStyle.SolidPaint sp = (PaintStyle.SolidPaint) ps;
            return sp.getSolidColor() == null ? null : color(sp.getSolidColor().getColor());
        }
        return null;
    }

    static String color(Color c) {
        if (c == null) return null;
        return String.format("#%02x%02x%02x", c.getRed(), c.getGreen(), c.getBlue());
    }

    static String sha256(byte[] data) {
        try {
            return hex(MessageDigest.getInstance("SHA-256").digest(data));
        } catch (java.security.NoSuchAlgorithmException e) {
            throw new IllegalStateException(e);
        }
    }

    static String hex(byte[] b) {
        if (b == null) return null;
        StringBuilder sb = new StringBuilder(b.length * 2);
        for (byte x : b) sb.append(String.format("%02x", x & 0xff));
        return sb.toString();
    }

    // ---- JSON -------------------------------------------------------------------------------

    static String toJson(Object o) {
        StringBuilder sb = new StringBuilder();
        write(sb, o);
        return sb.toString();
    }

    @SuppressWarnings("unchecked")
    static void write(StringBuilder sb, Object o) {
        if (o == null) {
            sb.append("null");
        } else if (o instanceof String) {
            quote(sb, (String) o);
        } else if (o instanceof Boolean) {
            sb.append(o.toString());
        } else if (o instanceof Double || o instanceof Float) {
            double d = ((Number) o).doubleValue();
            if (Double.isNaN(d) || Double.isInfinite(d)) {
                sb.append("null");
            } else {
                double r = Math.round(d * 10000.0) / 10000.0;
                if (r == Math.rint(r) && Math.abs(r) < 1e15) sb.append((long) r);
                else sb.append(r);
            }
        } else if (o instanceof Number) {
            sb.append(o.toString());
        } else if (o instanceof Map) {
            sb.append('{');
            boolean first = true;
            for (Map.Entry<String, Object> e : ((Map<String, Object>) o).entrySet()) {
                if (!first) sb.append(',');
                first = false;
                quote(sb, e.getKey());
                sb.append(':');
                write(sb, e.getValue());
            }
            sb.append('}');
        } else if (o instanceof List) {
            sb.append('[');
            boolean first = true;
            for (Object x : (List<Object>) o) {
                if (!first) sb.append(',');
                first = false;
                write(sb, x);
            }
            sb.append(']');
        } else {
            quote(sb, o.toString());
        }
    }

    static void quote(StringBuilder sb, String s) {
        sb.append('"');
        for (int i = 0; i < s.length(); i++) {
            char ch = s.charAt(i);
            switch (ch) {
                case '"': sb.append("\\\""); break;
                case '\\': sb.append("\\\\"); break;
                case '\n': sb.append("\\n"); break;
                case '\r': sb.append("\\r"); break;
                case '\t': sb.append("\\t"); break;
                default:
                    // Control characters, and lone surrogates so the output stays valid UTF-8.
                    if (ch < 0x20 || (Character.isSurrogate(ch) && !validPair(s, i))) {
                        sb.append(String.format("\\u%04x", (int) ch));
                    } else {
                        sb.append(ch);
                    }
            }
        }
        sb.append('"');
    }

    private static boolean validPair(String s, int i) {
        char ch = s.charAt(i);
        if (Character.isHighSurrogate(ch)) {
            return i + 1 < s.length() && Character.isLowSurrogate(s.charAt(i + 1));
        }
        return i > 0 && Character.isHighSurrogate(s.charAt(i - 1));
    }
}
