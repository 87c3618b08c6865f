// Reads .ppt files with Apache POI HSLF and prints, per file, one JSON line of what the
// interoperability checks compare (interop.py): page size, slide count, the five document
// properties, and every shape in drawing order with its kind, box, path, picture bytes, table
// grid and paragraphs. A file POI cannot read prints {"file": ..., "error": ...}.
//
//   java -cp <poi jars>:<dir of PoiCheck.class> PoiCheck FILE.ppt...
import java.awt.Color;
import java.awt.geom.PathIterator;
import java.awt.geom.Rectangle2D;
import java.io.FileInputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.security.MessageDigest;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

import org.apache.poi.hpsf.DocumentSummaryInformation;
import org.apache.poi.hpsf.SummaryInformation;
import org.apache.poi.hslf.model.textproperties.TextPFException9;
import org.apache.poi.hslf.model.textproperties.TextProp;
import org.apache.poi.hslf.usermodel.*;
import org.apache.poi.sl.usermodel.PaintStyle;
import org.apache.poi.sl.usermodel.ShapeType;

public final class PoiCheck {
    public static void main(String[] args) {
        PrintStream out = new PrintStream(System.out, true, StandardCharsets.UTF_8);
        for (String path : args) {
            Map<String, Object> doc = new LinkedHashMap<>();
            doc.put("file", path);
            try (HSLFSlideShow show = new HSLFSlideShow(new FileInputStream(path))) {
                read(show, doc);
            } catch (Throwable t) {
                doc.put("error", t.toString());
            }
            out.println(json(doc));
        }
    }

    static void read(HSLFSlideShow show, Map<String, Object> doc) {
        doc.put("size", List.of(show.getPageSize().getWidth(), show.getPageSize().getHeight()));
        doc.put("slides", show.getSlides().size());
        SummaryInformation si = show.getSlideShowImpl().getSummaryInformation();
        DocumentSummaryInformation dsi = show.getSlideShowImpl().getDocumentSummaryInformation();
        Map<String, Object> props = new LinkedHashMap<>();
        props.put("title", si == null ? null : si.getTitle());
        props.put("subject", si == null ? null : si.getSubject());
        props.put("author", si == null ? null : si.getAuthor());
        props.put("keywords", si == null ? null : si.getKeywords());
        props.put("company", dsi == null ? null : dsi.getCompany());
        doc.put("properties", props);
        List<Object> pages = new ArrayList<>();
        for (HSLFSlide slide : show.getSlides()) {
            List<Object> shapes = new ArrayList<>();
            for (HSLFShape sh : slide.getShapes()) shapes.add(shape(sh));
            pages.add(shapes);
        }
        doc.put("pages", pages);
    }

    // The kinds are named as the deck format names the shapes that should come back as them.
    static String kind(HSLFShape sh) {
        if (sh instanceof HSLFTable) return "table";
        if (sh instanceof HSLFPictureShape) return "picture";
        if (sh instanceof HSLFLine) return "line";
        if (sh instanceof HSLFFreeformShape) return "polyline";
        if (sh instanceof HSLFTextBox) return "text";
        if (sh instanceof HSLFAutoShape) return sh.getShapeType() == ShapeType.RECT ? "rectangle" : "auto " + sh.getShapeType();
        return sh.getClass().getSimpleName();
    }

    static Map<String, Object> shape(HSLFShape sh) {
        Map<String, Object> m = new LinkedHashMap<>();
        m.put("type", kind(sh));
        Rectangle2D a = sh.getAnchor();
        m.put("box", List.of(a.getX(), a.getY(), a.getWidth(), a.getHeight()));
        m.put("rotation", sh.getRotation());
        m.put("flip", List.of(sh.getFlipHorizontal(), sh.getFlipVertical()));
        if (sh instanceof HSLFFreeformShape) {
            List<Object> path = new ArrayList<>();
            double[] c = new double[6];
            for (PathIterator it = ((HSLFFreeformShape) sh).getPath().getPathIterator(null); !it.isDone(); it.next()) {
                int seg = it.currentSegment(c);
                path.add(seg == PathIterator.SEG_CLOSE ? List.of("Z")
                         : List.of(seg == PathIterator.SEG_MOVETO ? "M" : seg == PathIterator.SEG_LINETO ? "L" : "C", c[0], c[1]));
            }
            m.put("path", path);
        }
        if (sh instanceof HSLFPictureShape) {
            HSLFPictureData pd = ((HSLFPictureShape) sh).getPictureData();
            m.put("picture", pd == null ? null : sha256(pd.getData()));
        }
        if (sh instanceof HSLFTextShape) m.put("paragraphs", paragraphs(((HSLFTextShape) sh).getTextParagraphs()));
        if (sh instanceof HSLFTable) {
            HSLFTable t = (HSLFTable) sh;
            List<Object> rows = new ArrayList<>();
            for (int r = 0; r < t.getNumberOfRows(); r++) {
                List<Object> row = new ArrayList<>();
                for (int c = 0; c < t.getNumberOfColumns(); c++) {
                    HSLFTableCell cell = t.getCell(r, c);
                    Map<String, Object> cm = new LinkedHashMap<>();
                    if (cell != null) {
                        cm.put("span", List.of(cell.getGridSpan(), cell.getRowSpan()));
                        cm.put("paragraphs", paragraphs(cell.getTextParagraphs()));
                    }
                    row.add(cell == null ? null : cm);
                }
                rows.add(row);
            }
            m.put("cells", rows);
        }
        return m;
    }

    static List<Object> paragraphs(List<HSLFTextParagraph> paras) {
        List<Object> out = new ArrayList<>();
        for (HSLFTextParagraph p : paras) {
            Map<String, Object> pm = new LinkedHashMap<>();
            List<Object> runs = new ArrayList<>();
            for (HSLFTextRun r : p.getTextRuns()) {
                Map<String, Object> rm = new LinkedHashMap<>();
                // POI keeps the paragraph mark on the last run of every paragraph but the last.
                rm.put("text", r.getRawText().replaceAll("\r$", ""));
                rm.put("bold", r.isBold());
                rm.put("italic", r.isItalic());
                rm.put("underline", r.isUnderlined());
                rm.put("size", r.getFontSize());
                PaintStyle ps = r.getFontColor();
                rm.put("color", ps instanceof PaintStyle.SolidPaint ? hex(((PaintStyle.SolidPaint) ps).getSolidColor().getColor()) : null);
                rm.put("script", r.getSuperscript());
                rm.put("face", r.getFontFamily());
                runs.add(rm);
            }
            pm.put("align", p.getTextAlign() == null ? null : p.getTextAlign().name());
            pm.put("level", p.getIndentLevel());
            Character bullet = p.isBullet() ? p.getBulletChar() : null;
            pm.put("bullet", p.isBullet() ? (bullet == null ? "" : String.valueOf(bullet)) : null);
            // The bullet extension the paragraph's characters refer to (pp9rt, bits 10-13 of the
            // character flags); POI's own getAutoNumberingScheme takes the one of its indent level.
            TextPFException9[] ext = p.getStyleTextProp9Atom() == null ? null : p.getStyleTextProp9Atom().getAutoNumberTypes();
            TextProp flags = p.getTextRuns().get(0).getCharacterStyle().findByName("char_flags");
            int pp9rt = flags == null ? 0 : (flags.getValue() >> 10) & 0xF;
            TextPFException9 e = ext != null && pp9rt < ext.length ? ext[pp9rt] : null;
            pm.put("numbering", e == null || e.getfBulletHasAutoNumber() == null || e.getfBulletHasAutoNumber() == 0 ? null
                   : List.of(e.getAutoNumberScheme() == null ? 3 : e.getAutoNumberScheme().nativeId,
                             e.getAutoNumberStartNumber() == null ? 1 : e.getAutoNumberStartNumber()));
            pm.put("runs", runs);
            out.add(pm);
        }
        return out;
    }

    static String hex(Color c) {
        return c == null ? null : String.format("#%02x%02x%02x", c.getRed(), c.getGreen(), c.getBlue());
    }

    static String sha256(byte[] data) {
        try {
            StringBuilder sb = new StringBuilder();
            for (byte b : MessageDigest.getInstance("SHA-256").digest(data)) sb.append(String.format("%02x", b & 0xff));
            return sb.toString();
        } catch (java.security.NoSuchAlgorithmException e) {
            throw new IllegalStateException(e);
        }
    }

    // Map, List, String, Boolean, Number and null; NaN prints as null.
    @SuppressWarnings("unchecked")
    static String json(Object o) {
        if (o == null) return "null";
        if (o instanceof Map) {
            StringBuilder sb = new StringBuilder("{");
            for (Map.Entry<String, Object> e : ((Map<String, Object>) o).entrySet())
                sb.append(sb.length() > 1 ? "," : "").append(json(e.getKey())).append(':').append(json(e.getValue()));
            return sb.append('}').toString();
        }
        if (o instanceof List) {
            StringBuilder sb = new StringBuilder("[");
            for (Object x : (List<Object>) o) sb.append(sb.length() > 1 ? "," : "").append(json(x));
            return sb.append(']').toString();
        }
        if (o instanceof Double && !Double.isFinite((Double) o)) return "null";
        if (o instanceof Number || o instanceof Boolean) return o.toString();
        StringBuilder sb = new StringBuilder("\"");
        for (char ch : o.toString().toCharArray()) {
            // Control characters and surrogates escaped, so that lone ones stay valid JSON.
            if (ch == '"' || ch == '\\') sb.append('\\').append(ch);
            else if (ch < 0x20 || Character.isSurrogate(ch)) sb.append(String.format("\\u%04x", (int) ch));
            else sb.append(ch);
        }
        return sb.append('"').toString();
    }
}
