// Synchronous FIFO core of the fifo_sync IP. Parameters and ports follow the component
// file; the generated wrapper instantiates this module.
module fifo_sync_core #(
    parameter integer DATA_WIDTH = 8,
    // a power of two: the pointers wrap by overflowing
    parameter integer DEPTH = 512,
    // "standard": dout follows a read one clock later; "fwft": dout shows the oldest
    // word while empty is low, and a read moves to the next one
    parameter READ_MODE = "standard",
    // prog_full is high while the FIFO holds at least this many words
    parameter integer PROG_FULL_THRESHOLD = 500,
    // 1: data_count gives the number of words held; 0: it stays zero
    parameter integer HAS_DATA_COUNT = 0
) (
    input  wire                     clk,
    input  wire                     rst,
    input  wire                     wr_en,
    input  wire [DATA_WIDTH-1:0]    din,
    output wire                     full,
    output wire                     prog_full,
    input  wire                     rd_en,
    output wire [DATA_WIDTH-1:0]    dout,
    output wire                     empty,
    output wire [$clog2(DEPTH):0]   data_count
);
    localparam integer AW = $clog2(DEPTH);

    reg [DATA_WIDTH-1:0] mem[0:DEPTH-1];
    // One bit wider than the address, so that full and empty differ.
    reg [AW:0] wr_ptr = {(AW + 1) {1'b0}};
    reg [AW:0] rd_ptr = {(AW + 1) {1'b0}};
    reg [DATA_WIDTH-1:0] dout_r = {DATA_WIDTH{1'b0}};
    wire [AW:0] count = wr_ptr - rd_ptr;

    assign full       = count == DEPTH;
    assign empty      = count == 0;
    assign prog_full  = count >= PROG_FULL_THRESHOLD;
    assign data_count = (HAS_DATA_COUNT != 0) ? count : {(AW + 1) {1'b0}};
    assign dout       = (READ_MODE == "fwft") ? mem[rd_ptr[AW-1:0]] : dout_r;

    // A write when full and a read when empty are ignored.
    always @(posedge clk) begin
        if (rst) begin
            wr_ptr <= {(AW + 1) {1'b0}};
            rd_ptr <= {(AW + 1) {1'b0}};
        end else begin
            if (wr_en && !full) begin
                mem[wr_ptr[AW-1:0]] <= din;
                wr_ptr <= wr_ptr + 1'b1;
            end
            if (rd_en && !empty) begin
                dout_r <= mem[rd_ptr[AW-1:0]];
                rd_ptr <= rd_ptr + 1'b1;
            end
        end
    end
endmodule
